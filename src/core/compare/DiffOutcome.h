#pragma once

#include "core/compare/DiffRecord.h"

#include <QList>
#include <QString>

namespace brelix::compare {

// How a comparison ended; every ending has told the user already.
enum class DiffEnding {
    Finished,
    CutShort, // the work budget ran out; the change history is saved
    Cancelled,
    SheetCountsDiffer,
    StartBeyondLastSheet,
    PasswordFailed,
    Failed,     // the error report was shown
    Refused,    // a check or the sheet range refused it; nothing started
    OfficeOpen, // refused while a spreadsheet window is open; nothing started
};

struct DiffOutcome {
    DiffEnding ending = DiffEnding::Failed;
    QList<DiffRecord> records; // in the order found, also when the run did not finish
    QString failure;           // Failed: what went wrong, as the error report says it
};

} // namespace brelix::compare
