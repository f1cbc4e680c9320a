#include "core/compare/DiffRun.h"

#include "core/compare/ChangeHistory.h"
#include "core/compare/ErrorReport.h"
#include "core/compare/WorkbookComparer.h"
#include "core/host/HostError.h"
#include "core/run/JobOffice.h"
#include "core/run/RunFailure.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace brelix::compare {

using host::HostError;
using run::kCrLf;
using run::MessageIcon;

namespace {

QString aborted()
{
    return QCoreApplication::translate("DiffRun", "ｄｉｆｆを中止しました");
}

} // namespace

DiffOutcome DiffRun::start(const DiffSettings& settings, bool* programEnds)
{
    if (programEnds)
        *programEnds = false;
    if (const auto refusal =
            checkDiffInputs(settings.templatePath, settings.firstPath, settings.secondPath)) {
        m_ui.showMessage(refusalMessage(*refusal));
        if (programEnds)
            *programEnds = *refusal == DiffRefusal::MissingTemplate ||
                           *refusal == DiffRefusal::DamagedTemplate;
        return {DiffEnding::Refused, {}, {}};
    }
    return run(settings);
}

DiffOutcome DiffRun::run(const DiffSettings& settings)
{
    m_host.reset();
    const std::optional<SheetRange> range =
        sheetRange(settings.startSheetText, settings.lastSheetText);
    if (!range) {
        message(QCoreApplication::translate("DiffRun", "指定シートの設定が異常です"),
                QCoreApplication::translate("DiffRun", "指定シートエラー"),
                MessageIcon::Exclamation);
        return {DiffEnding::Refused, {}, {}};
    }
    m_state.emplace(DiffInputs{.settings = settings,
                               .range = *range,
                               .firstName = bareFileName(settings.firstPath),
                               .secondName = bareFileName(settings.secondPath)});

    // Held until the previous change history is back in place after a failure too.
    run::ResultsTurn turn(settings.outputPath);
    DiffEnding ending;
    QString failure;
    try {
        ending = work(turn);
    } catch (const HostError& e) {
        // A cancel ends an office that stays stuck; the call that fails with it is the cancel.
        if (m_ui.cancelRequested()) {
            ending = abort(DiffEnding::Cancelled);
        } else {
            failure = e.description();
            ending = fail(e.number(), failure);
        }
    } catch (const run::RunFailure& e) {
        failure = e.description();
        ending = fail(e.number(), failure);
    }
    m_host.reset();
    return {ending, m_state->records(), failure};
}

DiffEnding DiffRun::work(run::ResultsTurn& turn)
{
    m_state->stage = Stage::CheckOpenOffice;
    if (run::JobOffice::refuseWhileHandedOverOpen(m_ui, m_factory))
        return DiffEnding::OfficeOpen;
    if (!run::ResultsWorkbook::canReplace(inputs().settings.outputPath)) {
        message(QCoreApplication::translate("DiffRun", "%1 を作成できません")
                    .arg(QFileInfo(inputs().settings.outputPath).fileName()),
                QCoreApplication::translate("DiffRun", "実行不可能"), MessageIcon::Exclamation);
        return DiffEnding::Refused;
    }

    m_state->stage = Stage::ShowProgress;
    run::JobOffice::showStarting(m_ui);
    // A run leaving its results in the same folder finishes first.
    if (!turn.take(m_ui))
        return abort(DiffEnding::Cancelled);

    m_state->stage = Stage::StartOffice;
    m_host = run::JobOffice::start(m_factory, run::HostFailures::PassThrough, true);
    m_state->stage = Stage::OpenWorkbooks;
    run::JobOffice::hideWindows(*m_host, run::HostFailures::PassThrough);
    m_host->openWorkbooks({inputs().settings.firstPath, inputs().settings.secondPath},
                          !inputs().settings.coloursSeen);

    m_state->stage = Stage::CountSheets;
    WorkbookComparer comparer(*m_host, m_ui, *m_state, m_password);
    if (!comparer.countSheets())
        return abort(DiffEnding::SheetCountsDiffer);
    // Only a run that will compare replaces the previous change history.
    if (!comparer.limitToRange())
        return abort(DiffEnding::StartBeyondLastSheet);
    arrange();

    if (comparer.compareSheets() == DiffEnding::PasswordFailed)
        return abort(DiffEnding::PasswordFailed);

    m_state->stage = Stage::SheetsCompared;
    if (m_ui.cancelRequested())
        return abort(DiffEnding::Cancelled);
    return finish();
}

void DiffRun::arrange()
{
    m_state->stage = Stage::ArrangeWindows;
    switch (inputs().settings.layout) {
    case WindowLayout::Normal:
        arrangeNormal();
        break;
    case WindowLayout::SideBySide:
        arrangeTiled(host::WindowArrangement::SideBySide, kSideBySideStages);
        break;
    case WindowLayout::Stacked:
        arrangeTiled(host::WindowArrangement::Stacked, kStackedStages);
        break;
    case WindowLayout::None:
        break; // no change history: the first write fails into the report
    }
}

// The two workbooks side by side above a low change-history window as wide as both.
void DiffRun::arrangeNormal()
{
    m_state->stage = Stage::NormalTileWorkbooks;
    m_host->activateWorkbook(inputs().firstName);
    m_host->arrangeWindows(host::WindowArrangement::SideBySide);

    m_state->stage = Stage::NormalOpenHistory;
    ChangeHistory history(*m_host, m_ui, *m_state, m_password);
    ChangeHistory::copyTemplate(*m_state);
    ChangeHistory::makeWritable(inputs());
    history.open();
    const int toolbarRows = inputs().settings.toolbarRows;
    m_host->activateWorkbook(inputs().firstName);
    const host::WindowGeometry first = m_host->windowGeometry(inputs().firstName);
    m_host->setWindowGeometry(inputs().firstName,
                              run::ResultsWorkbook::aboveStrip(first, toolbarRows));
    m_host->activateWorkbook(inputs().secondName);
    m_host->setWindowGeometry(
        inputs().secondName,
        run::ResultsWorkbook::aboveStrip(m_host->windowGeometry(inputs().secondName), toolbarRows));
    history.placeStrip(first, first.width * 2 + 3);
    m_state->stage = Stage::NormalArranged;
}

void DiffRun::arrangeTiled(host::WindowArrangement arrangement, const TiledStages& stages)
{
    ChangeHistory history(*m_host, m_ui, *m_state, m_password);
    m_state->stage = stages.copyTemplate;
    ChangeHistory::copyTemplate(*m_state);
    m_state->stage = stages.makeWritable;
    ChangeHistory::makeWritable(inputs());
    m_state->stage = stages.openHistory;
    history.open();
    m_host->activateWorkbook(inputs().secondName);
    m_host->activateWorkbook(inputs().firstName);
    m_host->arrangeWindows(arrangement);
    m_state->stage = stages.arranged;
}

DiffEnding DiffRun::finish()
{
    ChangeHistory history(*m_host, m_ui, *m_state, m_password);
    if (!history.finish())
        return abort(DiffEnding::PasswordFailed);
    m_ui.closeProgress();
    const DiffBudget& budget = m_state->budget;
    if (!budget.exceeded())
        return DiffEnding::Finished;
    if (budget.lastSheetCompared().isEmpty())
        message(QCoreApplication::translate("DiffRun",
                                            "ファイルが大きすぎて、ぜんぜん比較できませんでした"),
                QCoreApplication::translate("DiffRun", "比較中止"), MessageIcon::Exclamation, true);
    else
        message(QCoreApplication::translate("DiffRun",
                                            "ファイルが大きすぎて、全て比較できませんでした") +
                    kCrLf + kCrLf + budget.cutShortNote() + kCrLf + budget.lastSheetCompared(),
                QCoreApplication::translate("DiffRun", "比較中止"), MessageIcon::Exclamation, true);
    return DiffEnding::CutShort;
}

// Cancel, unequal sheet counts, a start beyond the last sheet, a refused password: everything
// closes unsaved, the office ends, then the message.
DiffEnding DiffRun::abort(DiffEnding ending)
{
    m_ui.closeProgress();
    closeEverythingIgnoringFailure();
    switch (ending) {
    case DiffEnding::Cancelled:
        message(aborted(), QCoreApplication::translate("DiffRun", "ユーザ中止要求"),
                MessageIcon::Information);
        break;
    case DiffEnding::SheetCountsDiffer:
        message(aborted() + kCrLf + QCoreApplication::translate("DiffRun", "シートが不一致です"),
                QCoreApplication::translate("DiffRun", "シート数不一致"), MessageIcon::Exclamation);
        break;
    case DiffEnding::StartBeyondLastSheet:
        message(QCoreApplication::translate("DiffRun", "比較開始シートが全シート数より大きいです"),
                QCoreApplication::translate("DiffRun", "指定シートエラー"),
                MessageIcon::Exclamation);
        break;
    case DiffEnding::PasswordFailed:
        message(aborted() + kCrLf +
                    QCoreApplication::translate("DiffRun", "Sheet のパスワードエラーです"),
                QCoreApplication::translate("DiffRun", "ユーザ中止要求"), MessageIcon::Information);
        break;
    default:
        break;
    }
    return ending;
}

DiffEnding DiffRun::fail(int number, const QString& description)
{
    ErrorReportState report = m_state->reportState(number, description);
    report.environment = m_factory.environment();
    m_ui.showErrorReport(errorReportText(report));
    m_ui.closeProgress();
    closeEverythingIgnoringFailure();
    return DiffEnding::Failed;
}

void DiffRun::closeEverythingIgnoringFailure()
{
    if (m_host) {
        for (const QString& book : {inputs().firstName, inputs().secondName, inputs().historyName})
            run::callIgnoringFailure([&] { m_host->closeWorkbook(book); });
        run::JobOffice::quitIgnoringFailure(std::move(m_host));
    }
    m_state->previousHistory.restore();
}

void DiffRun::message(const QString& text, const QString& title, MessageIcon icon, bool foreground)
{
    m_ui.showMessage({text, title, icon, run::MessageButtons::Ok, foreground});
}

} // namespace brelix::compare
