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

private:
    bool confirmed(PrintScope scope);
    PrintEnding printAll(const PrintRequest& request, int selectedCount);
    void startOffice();
    void endOffice(bool wentWell);
    void printFile(const PrintEntry& entry);
    std::optional<QString> printBook(const QString& book);
    std::optional<QString> printSheet(const QString& book, int sheet,
                                      std::optional<host::PageRange> pages);
    void showCompletion();

    host::SpreadsheetHostFactory& m_factory;
    run::RunUi& m_ui;
    PrintScope m_scope = PrintScope::AllSheetsAllPages;
    std::unique_ptr<host::SpreadsheetHost> m_host;
    QString m_startFailure;    // why no office runs, when none does
    bool m_officeLost = false; // the office died; the next file starts another
    PrintOutcome m_outcome;
};

} // namespace brelix::print
