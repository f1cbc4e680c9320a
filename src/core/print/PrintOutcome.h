#pragma once

#include <QList>
#include <QString>

namespace brelix::print {

// How a batch print ended; every ending that has a message has shown it.
enum class PrintEnding {
    Finished,
    Cancelled,       // stopped after a workbook; the completion message was shown
    NothingSelected, // an empty list or no selected entry
    NoScope,         // no print scope chosen: nothing visible happened
    Declined,        // the user answered No to the question
    OfficeOpen,      // refused while a spreadsheet window is open; nothing started
};

// A selected file that did not print: it could not be opened, or a print job failed.
struct PrintFailure {
    QString name; // as the list shows it
    QString reason;

    friend bool operator==(const PrintFailure&, const PrintFailure&) = default;
};

struct PrintOutcome {
    PrintEnding ending = PrintEnding::NothingSelected;
    int printed = 0; // files opened whose every print job went out
    QList<PrintFailure> failures;
};

} // namespace brelix::print
