#include "core/compare/DiffRun.h"

#include "core/compare/ChangeHistory.h"
#include "core/compare/ErrorReport.h"
#include "core/compare/SheetPairComparer.h"
#include "core/host/HostError.h"
#include "core/run/RunFailure.h"
#include "core/run/UsedExtent.h"

#include <chrono>

namespace brelix::compare {

using host::HostError;
using run::MessageIcon;

namespace {

const QString kAborted = QStringLiteral("ｄｉｆｆを中止しました");
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

DiffOutcome DiffRun::start(const DiffSettings& settings, bool* programEnds)
{
    if (programEnds)
        *programEnds = false;
    if (const auto refusal =
            checkDiffInputs(settings.templatePath, settings.firstPath, settings.secondPath)) {
        m_ui.showMessage(refusalMessage(*refusal));
        if (programEnds)
            *programEnds = *refusal == DiffRefusal::MissingTemplate;
        return {DiffEnding::Refused, {}};
    }
    return run(settings);
}

DiffOutcome DiffRun::run(const DiffSettings& settings)
{
    m_state = DiffRunState();
    m_state.settings = settings;
    m_host.reset();
    m_state.trap = 1;
    m_state.byValue = !settings.byFormula;
    const std::optional<SheetRange> range =
        sheetRange(settings.startSheetText, settings.lastSheetText);
    if (!range) {
        message(QStringLiteral("指定シートの設定が異常です"), QStringLiteral("指定シートエラー"),
                MessageIcon::Exclamation);
        return {DiffEnding::Refused, {}};
    }
    m_state.range = *range;

    DiffEnding ending;
    try {
        ending = work();
    } catch (const HostError& e) {
        ending = fail(e.number(), e.description());
    } catch (const run::RunFailure& e) {
        ending = fail(e.number(), e.description());
    }
    m_host.reset();
    return {ending, m_state.records};
}

DiffEnding DiffRun::work()
{
    m_state.trap = 2;
    m_state.firstName = bareFileName(m_state.settings.firstPath);
    m_state.secondName = bareFileName(m_state.settings.secondPath);
    m_state.outputRow = 2;

    m_state.trap = 3;
    if (m_ui.windowTitled(QStringLiteral("Microsoft Excel"))) {
        message(QStringLiteral("Excelを終了してから実行して下さい"), QStringLiteral("Excel起動中"),
                MessageIcon::Exclamation);
        return DiffEnding::OfficeOpen;
    }

    m_state.trap = 4;
    m_ui.clearCancel();
    m_ui.showProgress(QStringLiteral("Excel起動中"));
    m_ui.processEvents();

    m_state.trap = 5;
    m_host = m_factory.start();
    m_host->setBusyTimeout(std::chrono::milliseconds(600000));
    openAndArrange();

    m_state.trap = 51;
    countSheets();
    if (m_state.firstCount != m_state.secondCount)
        return abort(DiffEnding::SheetCountsDiffer);

    m_state.trap = 52;
    m_state.processing = 50;
    m_state.cutReason.clear();
    m_state.lastSheetInfo.clear();
    if (m_state.range.last <= m_state.firstCount)
        m_state.firstCount = m_state.range.last;
    if (m_state.range.start > m_state.firstCount)
        m_state.startBeyond = true;

    const DiffEnding walked = compareSheets();
    if (walked == DiffEnding::PasswordFailed)
        return abort(walked);

    m_state.trap = 200;
    if (m_ui.cancelRequested())
        return abort(DiffEnding::Cancelled);
    if (m_state.startBeyond)
        return abort(DiffEnding::StartBeyondLastSheet);
    return finish();
}

void DiffRun::openAndArrange()
{
    m_state.trap = 6;
    m_host->setMaximized(true);
    m_host->setVisible(false);
    m_host->openWorkbook(m_state.settings.firstPath);
    m_host->openWorkbook(m_state.settings.secondPath);

    m_state.trap = 7;
    switch (m_state.settings.layout) {
    case 0:
        arrangeNormal();
        break;
    case 1:
        arrangeTiled(host::WindowArrangement::SideBySide, 21);
        break;
    case 2:
        arrangeTiled(host::WindowArrangement::Stacked, 31);
        break;
    default:
        break; // no layout, no change history: the first write fails into the report
    }
}

// The two workbooks side by side above a low change-history window as wide as both.
void DiffRun::arrangeNormal()
{
    m_state.trap = 11;
    m_host->activateWorkbook(m_state.firstName);
    m_host->arrangeWindows(host::WindowArrangement::SideBySide);

    m_state.trap = 12;
    ChangeHistory history(*m_host, m_ui, m_state, m_password);
    history.replaceWithTemplate();
    history.clearAttributes();
    history.open();
    m_host->activateWorkbook(m_state.firstName);
    const host::WindowGeometry first = m_host->windowGeometry(m_state.firstName);
    const double toolbars = m_state.settings.toolBarRows * 19.5;
    host::WindowGeometry g = first;
    g.height = first.height - 146 - toolbars;
    m_host->setWindowGeometry(m_state.firstName, g);
    m_host->activateWorkbook(m_state.secondName);
    g = m_host->windowGeometry(m_state.secondName);
    g.height = g.height - 146 - toolbars;
    m_host->setWindowGeometry(m_state.secondName, g);
    m_host->activateWorkbook(m_state.outputName);
    m_host->setWindowGeometry(
        m_state.outputName, {first.height - 143 - toolbars, first.left, first.width * 2 + 3, 128});
    m_state.trap = 13;
}

void DiffRun::arrangeTiled(host::WindowArrangement arrangement, int firstTrap)
{
    ChangeHistory history(*m_host, m_ui, m_state, m_password);
    m_state.trap = firstTrap;
    history.replaceWithTemplate();
    m_state.trap = firstTrap + 1;
    history.clearAttributes();
    m_state.trap = firstTrap + 2;
    history.open();
    m_host->activateWorkbook(m_state.secondName);
    m_host->activateWorkbook(m_state.firstName);
    m_host->arrangeWindows(arrangement);
    m_state.trap = firstTrap + 3;
}

void DiffRun::countSheets()
{
    m_ui.setProgressBarVisible(true);
    m_ui.setCancelEnabled(true);
    auto count = [&](const QString& book, int& total, QList<bool>& visible) {
        m_host->activateWorkbook(book);
        total = m_host->sheetCount(book);
        visible.clear();
        for (m_state.sheet = 1; m_state.sheet <= total; ++m_state.sheet) {
            visible.append(m_host->isSheetVisible(book, m_state.sheet));
            if (!visible.last())
                m_state.hiddenSheet = true;
        }
    };
    count(m_state.firstName, m_state.firstCount, m_state.firstVisible);
    count(m_state.secondName, m_state.secondCount, m_state.secondVisible);
}

DiffEnding DiffRun::compareSheets()
{
    m_state.trap = 61;
    const QString& first = m_state.firstName;
    const QString& second = m_state.secondName;
    for (int s = m_state.range.start; s <= m_state.firstCount; ++s) {
        m_state.sheet = s;
        m_state.trap = 71;
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            break;
        if (!m_state.firstVisible.value(s - 1) || !m_state.secondVisible.value(s - 1))
            continue;

        m_host->activateWorkbook(first);
        m_host->activateSheet(first, s);
        const QString sheetName = m_host->sheetName(first, s);
        m_host->activateWorkbook(second);
        m_host->activateSheet(second, s);
        m_host->activateWorkbook(first);
        m_host->activateSheet(first, s);
        const auto firstLast = usedExtent(*m_host, m_ui, m_password, first, s);
        if (!firstLast)
            return DiffEnding::PasswordFailed;
        m_state.row = firstLast->row;
        m_state.column = firstLast->column;
        m_host->activateWorkbook(second);
        m_host->activateSheet(second, s);
        const auto secondLast = usedExtent(*m_host, m_ui, m_password, second, s);
        if (!secondLast)
            return DiffEnding::PasswordFailed;
        m_state.row = secondLast->row;
        m_state.column = secondLast->column;
        m_state.maxRows = std::max(firstLast->row, secondLast->row);
        m_state.maxColumns = std::max(firstLast->column, secondLast->column);

        m_state.processing += qint64(m_state.maxRows) * m_state.maxColumns * 2 + 50;
        if (m_state.cutShort()) {
            m_state.cutReason = QStringLiteral("以下のシートまで比較が完了しました");
            break;
        }
        m_state.lastSheetInfo = QStringLiteral("シートNo=%1  /  シート名=%2").arg(s).arg(sheetName);
        m_ui.setProgressCaption(
            QStringLiteral("比較中-%1/%2:%3").arg(s).arg(m_state.firstCount).arg(sheetName));
        SheetPairComparer(*m_host, m_ui, m_state).compare(s, sheetName);
    }
    return DiffEnding::Finished;
}

DiffEnding DiffRun::finish()
{
    ChangeHistory history(*m_host, m_ui, m_state, m_password);
    if (!history.finish())
        return abort(DiffEnding::PasswordFailed);
    m_ui.closeProgress();
    if (!m_state.cutShort())
        return DiffEnding::Finished;
    if (m_state.lastSheetInfo.isEmpty())
        message(QStringLiteral("ファイルが大きすぎて、ぜんぜん比較できませんでした"),
                QStringLiteral("比較中止"), MessageIcon::Exclamation, true);
    else
        message(QStringLiteral("ファイルが大きすぎて、全て比較できませんでした") + kCrLf + kCrLf +
                    m_state.cutReason + kCrLf + m_state.lastSheetInfo,
                QStringLiteral("比較中止"), MessageIcon::Exclamation, true);
    return DiffEnding::CutShort;
}

// Cancel, unequal sheet counts, a start beyond the last sheet, a refused password: everything
// closes unsaved, the office ends, then the message.
DiffEnding DiffRun::abort(DiffEnding ending)
{
    m_ui.closeProgress();
    closeEverythingQuietly();
    switch (ending) {
    case DiffEnding::Cancelled:
        message(kAborted, QStringLiteral("ユーザ中止要求"), MessageIcon::Information);
        break;
    case DiffEnding::SheetCountsDiffer:
        message(kAborted + kCrLf + QStringLiteral("シートが不一致です"),
                QStringLiteral("シート数不一致"), MessageIcon::Exclamation);
        break;
    case DiffEnding::StartBeyondLastSheet:
        message(QStringLiteral("比較開始シートが全シート数より大きいです"),
                QStringLiteral("指定シートエラー"), MessageIcon::Exclamation);
        break;
    case DiffEnding::PasswordFailed:
        message(kAborted + kCrLf + QStringLiteral("Sheet のパスワードエラーです"),
                QStringLiteral("ユーザ中止要求"), MessageIcon::Information);
        break;
    default:
        break;
    }
    return ending;
}

DiffEnding DiffRun::fail(int number, const QString& description)
{
    m_ui.showErrorReport(errorReportText(m_state.reportState(number, description)));
    m_ui.closeProgress();
    closeEverythingQuietly();
    return DiffEnding::Failed;
}

void DiffRun::closeEverythingQuietly()
{
    if (!m_host)
        return;
    auto quietly = [](auto&& call) {
        try {
            call();
        } catch (const HostError&) {
        }
    };
    for (const QString& book : {m_state.firstName, m_state.secondName, m_state.outputName})
        quietly([&] { m_host->closeWorkbook(book); });
    quietly([&] { m_host->quit(); });
    m_host.reset();
}

void DiffRun::message(const QString& text, const QString& title, MessageIcon icon, bool foreground)
{
    m_ui.showMessage({text, title, icon, run::MessageButtons::Ok, foreground});
}

} // namespace brelix::compare
