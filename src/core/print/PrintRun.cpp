#include "core/print/PrintRun.h"

#include "core/run/JobOffice.h"

#include <algorithm>

namespace brelix::print {

using run::callIgnoringFailure;
using run::kCrLf;
using run::MessageIcon;

PrintOutcome PrintRun::start(const PrintRequest& request)
{
    m_outcome = PrintOutcome();
    const run::RunMessage nothingSelected{QStringLiteral("対象ファイルを選択して下さい"),
                                          QStringLiteral("選択無し")};
    if (request.entries.isEmpty()) {
        m_ui.showMessage(nothingSelected);
        return m_outcome;
    }
    if (request.updateFolderHistory)
        request.updateFolderHistory();
    const auto selectedCount = std::count_if(request.entries.cbegin(), request.entries.cend(),
                                             [](const PrintEntry& e) { return e.selected; });
    if (selectedCount == 0) {
        m_ui.showMessage(nothingSelected);
        return m_outcome;
    }
    if (!request.scope) {
        m_outcome.ending = PrintEnding::NoScope;
        return m_outcome;
    }
    m_scope = *request.scope;
    if (!confirmed(m_scope)) {
        m_outcome.ending = PrintEnding::Declined;
        return m_outcome;
    }
    if (run::JobOffice::refuseWhileHandedOverOpen(m_ui, m_factory)) {
        m_outcome.ending = PrintEnding::OfficeOpen;
        return m_outcome;
    }
    m_outcome.ending = printAll(request, static_cast<int>(selectedCount));
    showCompletion();
    return m_outcome;
}

bool PrintRun::confirmed(PrintScope scope)
{
    return m_ui.showMessage({confirmationText(scope), QStringLiteral("最終確認"),
                             MessageIcon::Question, run::MessageButtons::YesNo}) ==
           run::MessageAnswer::Yes;
}

PrintEnding PrintRun::printAll(const PrintRequest& request, int selectedCount)
{
    // Whole steps: three files show 33, 66 and 99, more than a hundred stay at 0.
    const int step = 100 / selectedCount;
    int progress = 0;
    if (request.setMainWindowEnabled)
        request.setMainWindowEnabled(false);
    run::JobOffice::showStarting(m_ui);
    startOffice();
    m_ui.setProgressCaption(QStringLiteral("連続印刷中"));
    m_ui.setProgressBarVisible(true);
    m_ui.setCancelEnabled(true);
    m_ui.processEvents();

    PrintEnding ending = PrintEnding::Finished;
    for (const PrintEntry& entry : request.entries) {
        if (!entry.selected)
            continue;
        printFile(entry);
        progress += step;
        m_ui.setProgressPercent(progress);
        m_ui.processEvents();
        if (m_ui.cancelRequested()) {
            ending = PrintEnding::Cancelled;
            break;
        }
    }
    endOffice(ending == PrintEnding::Finished && m_outcome.failures.isEmpty());
    m_ui.closeProgress();
    if (request.setMainWindowEnabled)
        request.setMainWindowEnabled(true);
    return ending;
}

void PrintRun::startOffice()
{
    m_host.reset();
    m_startFailure.clear();
    m_officeLost = false;
    // Without an office every file fails on its own; the run still goes through the selection.
    if (const auto failure = callIgnoringFailure(
            [&] { m_host = run::JobOffice::startHidden(m_factory, run::HostFailures::Ignored); }))
        m_startFailure = *failure;
}

void PrintRun::endOffice(bool wentWell)
{
    run::JobOffice::endIgnoringFailure(std::move(m_host), wentWell);
}

// Every step may fail on its own and the run goes on with the next one; the first reason is
// kept for the file that did not print.
void PrintRun::printFile(const PrintEntry& entry)
{
    if (m_officeLost) {
        // The files after an office that died get a new one, as a search's workbooks do.
        startOffice();
    }
    std::optional<QString> failure;
    if (!m_host) {
        failure = m_startFailure;
    } else {
        QString book;
        failure = callIgnoringFailure([&] { book = m_host->openWorkbook(entry.path); });
        if (!failure)
            failure = printBook(book);
        // Unsaved, whatever the office managed to open.
        callIgnoringFailure([&] { m_host->closeAllWorkbooks(); });
        if (failure && callIgnoringFailure([&] { m_host->workbookNames(); })) {
            endOffice(false);
            m_officeLost = true;
        }
    }
    if (failure)
        m_outcome.failures.append({entry.name, *failure});
    else
        ++m_outcome.printed;
}

std::optional<QString> PrintRun::printBook(const QString& book)
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

std::optional<QString> PrintRun::printSheet(const QString& book, int sheet,
                                            std::optional<host::PageRange> pages)
{
    // The sheet is chosen before its job, as a person would; the job names its sheet itself,
    // so a refused choice does not stop it.
    callIgnoringFailure([&] { m_host->activateSheet(book, sheet); });
    return callIgnoringFailure([&] { m_host->printSheet(book, sheet, pages); });
}

void PrintRun::showCompletion()
{
    QString text = QStringLiteral("印刷が完了しました");
    if (!m_outcome.failures.isEmpty()) {
        text += kCrLf + kCrLf + QStringLiteral("印刷できなかったファイル：");
        for (const PrintFailure& failure : m_outcome.failures)
            text += kCrLf + failure.name;
    }
    m_ui.showMessage({text, QStringLiteral("印刷完了通知")});
}

} // namespace brelix::print
