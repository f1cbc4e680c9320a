#include "core/print/PrintRun.h"

#include "core/print/WorkbookPrinter.h"
#include "core/run/JobOffice.h"
#include "core/run/ParallelItems.h"

#include <QCoreApplication>
#include <algorithm>

namespace brelix::print {

using run::kCrLf;
using run::MessageIcon;

PrintOutcome PrintRun::start(const PrintRequest& request)
{
    m_outcome = PrintOutcome();
    const run::RunMessage nothingSelected{
        QCoreApplication::translate("PrintRun", "対象ファイルを選択して下さい"),
        QCoreApplication::translate("PrintRun", "選択無し")};
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
    return m_ui.showMessage(
               {confirmationText(scope), QCoreApplication::translate("PrintRun", "最終確認"),
                MessageIcon::Question, run::MessageButtons::YesNo}) == run::MessageAnswer::Yes;
}

PrintEnding PrintRun::printAll(const PrintRequest& request, int selectedCount)
{
    // Whole steps: three files show 33, 66 and 99, more than a hundred stay at 0.
    m_step = 100 / selectedCount;
    m_progress = 0;
    if (request.setMainWindowEnabled)
        request.setMainWindowEnabled(false);
    run::JobOffice::showStarting(m_ui);
    QList<PrintEntry> selected;
    for (const PrintEntry& entry : request.entries)
        if (entry.selected)
            selected.append(entry);
    const int offices = std::min(m_offices, static_cast<int>(selected.size()));
    const PrintEnding ending =
        m_plainFactory && offices > 1 ? printInParallel(selected, offices) : printInTurn(selected);
    m_ui.closeProgress();
    if (request.setMainWindowEnabled)
        request.setMainWindowEnabled(true);
    return ending;
}

void PrintRun::showPrinting()
{
    m_ui.setProgressCaption(QCoreApplication::translate("PrintRun", "連続印刷中"));
    m_ui.setProgressBarVisible(true);
    m_ui.setCancelEnabled(true);
    m_ui.processEvents();
}

PrintEnding PrintRun::printInTurn(const QList<PrintEntry>& selected)
{
    WorkbookPrinter printer(m_factory, m_ui, m_scope);
    printer.startOffice();
    showPrinting();
    for (const PrintEntry& entry : selected)
        if (!printed(entry, printer.print(entry)))
            return PrintEnding::Cancelled;
    return PrintEnding::Finished;
}

// Each worker opens and closes its workbooks in an office of its own, and prints each once the
// workbooks before it have printed: the print jobs go out in the order of the list.
PrintEnding PrintRun::printInParallel(const QList<PrintEntry>& selected, int offices)
{
    showPrinting();
    const auto makeWorker = [&](host::SpreadsheetHostFactory& office, run::WorkerRunUi& ui) {
        auto printer = std::make_shared<WorkbookPrinter>(office, ui, m_scope,
                                                         [&ui] { return ui.waitForTurn(); });
        return std::function(
            [printer, &selected](int item) { return printer->print(selected[item]); });
    };
    run::ParallelItems<std::optional<QString>> items(*m_plainFactory, m_ui);
    const bool finished = items.run(static_cast<int>(selected.size()), offices, makeWorker,
                                    [&](int item, std::optional<QString>& failure) {
                                        return printed(selected[item], failure);
                                    });
    return finished ? PrintEnding::Finished : PrintEnding::Cancelled;
}

// Counts the file, moves the bar; false when the user asked to stop.
bool PrintRun::printed(const PrintEntry& entry, const std::optional<QString>& failure)
{
    if (failure)
        m_outcome.failures.append({entry.name, *failure});
    else
        ++m_outcome.printed;
    m_progress += m_step;
    m_ui.setProgressPercent(m_progress);
    m_ui.processEvents();
    return !m_ui.cancelRequested();
}

void PrintRun::showCompletion()
{
    QString text = QCoreApplication::translate("PrintRun", "印刷が完了しました");
    if (!m_outcome.failures.isEmpty()) {
        text +=
            kCrLf + kCrLf + QCoreApplication::translate("PrintRun", "印刷できなかったファイル：");
        for (const PrintFailure& failure : m_outcome.failures)
            text += kCrLf + failure.name;
    }
    m_ui.showMessage({text, QCoreApplication::translate("PrintRun", "印刷完了通知")});
}

} // namespace brelix::print
