#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/print/PrintOutcome.h"
#include "core/print/PrintRequest.h"
#include "core/run/RunUi.h"

#include <memory>
#include <optional>

namespace brelix::print {

// One batch print, from the press of the print button to its last message: checks, the
// question, a private office that opens each selected workbook, prints it with the chosen
// scope and closes it unsaved, progress and cancel between workbooks, and the completion
// message, which names every file that did not print.
class PrintRun {
public:
    PrintRun(host::SpreadsheetHostFactory& factory, run::RunUi& ui) : m_factory(factory), m_ui(ui)
    {
    }

    PrintOutcome start(const PrintRequest& request);

    // Prints with `count` offices at once, started through `plainFactory`, whose calls wait as
    // they come (the workers' own threads wait for them); one office without it.
    void useOffices(host::SpreadsheetHostFactory& plainFactory, int count)
    {
        m_plainFactory = &plainFactory;
        m_offices = count;
    }

private:
    bool confirmed(PrintScope scope);
    PrintEnding printAll(const PrintRequest& request, int selectedCount);
    void showPrinting();
    PrintEnding printInTurn(const QList<PrintEntry>& selected);
    PrintEnding printInParallel(const QList<PrintEntry>& selected, int offices);
    bool printed(const PrintEntry& entry, const std::optional<QString>& failure);
    void showCompletion();

    host::SpreadsheetHostFactory& m_factory;
    run::RunUi& m_ui;
    PrintScope m_scope = PrintScope::AllSheetsAllPages;
    host::SpreadsheetHostFactory* m_plainFactory = nullptr;
    int m_offices = 1;
    int m_step = 0;
    int m_progress = 0;
    PrintOutcome m_outcome;
};

} // namespace brelix::print
