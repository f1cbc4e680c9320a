#include "core/print/WorkbookPrinter.h"

#include "core/run/JobOffice.h"

namespace brelix::print {

using run::callIgnoringFailure;

void WorkbookPrinter::startOffice()
{
    m_host.reset();
    m_started = true;
    m_startFailure.clear();
    m_officeLost = false;
    // Without an office every file fails on its own; the run still goes through the selection.
    if (const auto failure = callIgnoringFailure(
            [&] { m_host = run::JobOffice::startHidden(m_factory, run::HostFailures::Ignored); }))
        m_startFailure = *failure;
}

void WorkbookPrinter::endOffice()
{
    run::JobOffice::quitIgnoringFailure(std::move(m_host));
}

// Every step may fail on its own and the run goes on with the next one; the first reason is
// kept for the file that did not print.
std::optional<QString> WorkbookPrinter::print(const PrintEntry& entry)
{
    if (!m_started || m_officeLost) {
        // The files after an office that died get a new one, as a search's workbooks do.
        startOffice();
    }
    if (!m_host)
        return m_startFailure;
    QString book;
    std::optional<QString> failure =
        callIgnoringFailure([&] { book = m_host->openWorkbook(entry.path); });
    if (!failure && m_waitForTurn && !m_waitForTurn())
        failure = QStringLiteral("the run was stopped");
    if (!failure)
        failure = printBook(book);
    // Unsaved, whatever the office managed to open.
    callIgnoringFailure([&] { m_host->closeAllWorkbooks(); });
    if (failure && callIgnoringFailure([&] { m_host->workbookNames(); })) {
        endOffice();
        m_officeLost = true;
    }
    return failure;
}

std::optional<QString> WorkbookPrinter::printBook(const QString& book)
{
    const host::PageRange firstPage{1, 1};
    switch (m_scope) {
    case PrintScope::AllSheetsAllPages:
        return callIgnoringFailure([&] { m_host->printWorkbook(book); });
    case PrintScope::FirstSheetAllPages:
        return printSheet(book, 1, std::nullopt);
    case PrintScope::FirstSheetFirstPage:
        return printSheet(book, 1, firstPage);
    case PrintScope::AllSheetsFirstPage:
        break;
    }
    int count = 0;
    std::optional<QString> failure = callIgnoringFailure([&] { count = m_host->sheetCount(book); });
    for (int sheet = 1; sheet <= count; ++sheet) {
        const std::optional<QString> sheetFailure = printSheet(book, sheet, firstPage);
        if (!failure)
            failure = sheetFailure;
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            break;
    }
    return failure;
}

std::optional<QString> WorkbookPrinter::printSheet(const QString& book, int sheet,
                                                   std::optional<host::PageRange> pages)
{
    // The sheet is chosen before its job, as a person would; the job names its sheet itself,
    // so a refused choice does not stop it.
    callIgnoringFailure([&] { m_host->activateSheet(book, sheet); });
    return callIgnoringFailure([&] { m_host->printSheet(book, sheet, pages); });
}

} // namespace brelix::print
