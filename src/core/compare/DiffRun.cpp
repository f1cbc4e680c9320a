#include "core/compare/DiffRun.h"

#include "core/compare/AlignedSheetComparer.h"
#include "core/compare/ChangeHistory.h"
#include "core/compare/ErrorReport.h"
#include "core/compare/SheetPairComparer.h"
#include "core/host/HostError.h"
#include "core/run/JobOffice.h"
#include "core/run/RunFailure.h"
#include "core/run/UsedExtent.h"

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
    m_state = DiffRunState();
    m_state.settings = settings;
    m_state.budget = DiffBudget(settings.noSizeLimit);
    m_host.reset();
    m_state.stage = Stage::ReadSheetRange;
    m_state.byValue = !settings.byFormula;
    const std::optional<SheetRange> range =
        sheetRange(settings.startSheetText, settings.lastSheetText);
    if (!range) {
        message(QCoreApplication::translate("DiffRun", "指定シートの設定が異常です"),
                QCoreApplication::translate("DiffRun", "指定シートエラー"),
                MessageIcon::Exclamation);
        return {DiffEnding::Refused, {}, {}};
    }
    m_state.range = *range;

    DiffEnding ending;
    QString failure;
    try {
        ending = work();
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
    return {ending, m_state.records, failure};
}

DiffEnding DiffRun::work()
{
    m_state.stage = Stage::NameWorkbooks;
    m_state.firstName = bareFileName(m_state.settings.firstPath);
    m_state.secondName = bareFileName(m_state.settings.secondPath);
    m_state.nextHistoryRow = 2;

    m_state.stage = Stage::CheckOpenOffice;
    if (run::JobOffice::refuseWhileHandedOverOpen(m_ui, m_factory))
        return DiffEnding::OfficeOpen;
    if (!run::ResultsWorkbook::canReplace(m_state.settings.outputPath)) {
        message(QCoreApplication::translate("DiffRun", "%1 を作成できません")
                    .arg(QFileInfo(m_state.settings.outputPath).fileName()),
                QCoreApplication::translate("DiffRun", "実行不可能"), MessageIcon::Exclamation);
        return DiffEnding::Refused;
    }

    m_state.stage = Stage::ShowProgress;
    run::JobOffice::showStarting(m_ui);

    m_state.stage = Stage::StartOffice;
    m_host = run::JobOffice::start(m_factory, run::HostFailures::PassThrough, true);
    m_state.stage = Stage::OpenWorkbooks;
    run::JobOffice::hideWindows(*m_host, run::HostFailures::PassThrough);
    m_host->openWorkbooks({m_state.settings.firstPath, m_state.settings.secondPath});

    m_state.stage = Stage::CountSheets;
    countSheets();
    if (!m_state.settings.bySheetName && m_state.firstSheetCount != m_state.secondSheetCount)
        return abort(DiffEnding::SheetCountsDiffer);
    limitToRange();
    // Only a run that will compare replaces the previous change history.
    if (m_state.startBeyondLastSheet)
        return abort(DiffEnding::StartBeyondLastSheet);
    arrange();

    if (compareSheets() == DiffEnding::PasswordFailed)
        return abort(DiffEnding::PasswordFailed);

    m_state.stage = Stage::SheetsCompared;
    if (m_ui.cancelRequested())
        return abort(DiffEnding::Cancelled);
    return finish();
}

void DiffRun::arrange()
{
    m_state.stage = Stage::ArrangeWindows;
    switch (m_state.settings.layout) {
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
    m_state.stage = Stage::NormalTileWorkbooks;
    m_host->activateWorkbook(m_state.firstName);
    m_host->arrangeWindows(host::WindowArrangement::SideBySide);

    m_state.stage = Stage::NormalOpenHistory;
    ChangeHistory history(*m_host, m_ui, m_state, m_password);
    history.copyTemplate();
    history.makeWritable();
    history.open();
    const int toolbarRows = m_state.settings.toolbarRows;
    m_host->activateWorkbook(m_state.firstName);
    const host::WindowGeometry first = m_host->windowGeometry(m_state.firstName);
    m_host->setWindowGeometry(m_state.firstName,
                              run::ResultsWorkbook::aboveStrip(first, toolbarRows));
    m_host->activateWorkbook(m_state.secondName);
    m_host->setWindowGeometry(
        m_state.secondName,
        run::ResultsWorkbook::aboveStrip(m_host->windowGeometry(m_state.secondName), toolbarRows));
    history.placeStrip(first, first.width * 2 + 3);
    m_state.stage = Stage::NormalArranged;
}

void DiffRun::arrangeTiled(host::WindowArrangement arrangement, const TiledStages& stages)
{
    ChangeHistory history(*m_host, m_ui, m_state, m_password);
    m_state.stage = stages.copyTemplate;
    history.copyTemplate();
    m_state.stage = stages.makeWritable;
    history.makeWritable();
    m_state.stage = stages.openHistory;
    history.open();
    m_host->activateWorkbook(m_state.secondName);
    m_host->activateWorkbook(m_state.firstName);
    m_host->arrangeWindows(arrangement);
    m_state.stage = stages.arranged;
}

void DiffRun::countSheets()
{
    m_ui.setProgressBarVisible(true);
    m_ui.setCancelEnabled(true);
    const bool byName = m_state.settings.bySheetName;
    auto count = [&](const QString& book, int& total, QList<bool>& visible, QStringList& names) {
        m_host->activateWorkbook(book);
        total = m_host->sheetCount(book);
        visible.clear();
        for (m_state.sheet = 1; m_state.sheet <= total; ++m_state.sheet) {
            visible.append(m_host->isSheetVisible(book, m_state.sheet));
            if (!visible.last())
                m_state.sawHiddenSheet = true;
            if (byName)
                names.append(m_host->sheetName(book, m_state.sheet));
        }
    };
    count(m_state.firstName, m_state.firstSheetCount, m_state.firstVisible,
          m_state.firstSheetNames);
    count(m_state.secondName, m_state.secondSheetCount, m_state.secondVisible,
          m_state.secondSheetNames);
}

void DiffRun::limitToRange()
{
    m_state.stage = Stage::LimitSheetRange;
    m_state.budget.start();
    if (m_state.range.last <= m_state.firstSheetCount)
        m_state.firstSheetCount = m_state.range.last;
    if (m_state.range.start > m_state.firstSheetCount)
        m_state.startBeyondLastSheet = true;
}

QList<SheetPair> DiffRun::sheetPairs() const
{
    const bool byName = m_state.settings.bySheetName;
    const QStringList& firstNames = m_state.firstSheetNames;
    const QStringList& secondNames = m_state.secondSheetNames;
    QList<SheetPair> pairs;
    for (int s = m_state.range.start; s <= m_state.firstSheetCount; ++s)
        pairs.append({s, byName ? int(secondNames.indexOf(firstNames[s - 1])) + 1 : s});
    // Sheets added to the second workbook count only when the whole first one was compared.
    for (int t = 1; byName && m_state.range.whole && t <= m_state.secondSheetCount; ++t) {
        if (!firstNames.contains(secondNames[t - 1]))
            pairs.append({0, t});
    }
    return pairs;
}

bool DiffRun::isVisible(const SheetPair& sheets) const
{
    return (sheets.inserted() || m_state.firstVisible.value(sheets.first - 1)) &&
           (sheets.deleted() || m_state.secondVisible.value(sheets.second - 1));
}

DiffEnding DiffRun::compareSheets()
{
    m_state.stage = Stage::CompareSheets;
    for (const SheetPair& pair : sheetPairs()) {
        const int s = pair.inserted() ? pair.second : pair.first;
        m_state.sheet = s;
        m_state.stage = Stage::MeasureSheetPair;
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            break;
        if (!isVisible(pair))
            continue;
        if (pair.inserted() || pair.deleted()) {
            if (!recordUnpairedSheet(pair))
                break;
            continue;
        }

        QString sheetName;
        if (!measureSheetPair(pair, sheetName))
            return DiffEnding::PasswordFailed;
        if (!m_state.budget.chargeSheetPair(m_state.maxRows, m_state.maxColumns, s, sheetName))
            break;
        m_ui.setProgressCaption(QCoreApplication::translate("DiffRun", "比較中-%1/%2:%3")
                                    .arg(s)
                                    .arg(m_state.firstSheetCount)
                                    .arg(sheetName));
        if (m_state.settings.alignRows || !m_state.settings.keyColumns.isEmpty())
            AlignedSheetComparer(*m_host, m_ui, m_state).compare(pair, sheetName);
        else
            SheetPairComparer(*m_host, m_ui, m_state).compare(pair, sheetName);
    }
    return DiffEnding::Finished;
}

bool DiffRun::recordUnpairedSheet(const SheetPair& sheets)
{
    if (!m_state.budget.admitSheet())
        return false;
    const bool inserted = sheets.inserted();
    const int sheet = inserted ? sheets.second : sheets.first;
    const DiffRecord record{.sequence = m_state.nextHistoryRow - 1,
                            .sheetName = inserted ? m_state.secondSheetNames[sheet - 1]
                                                  : m_state.firstSheetNames[sheet - 1],
                            .sheetNumber = sheet,
                            .kind =
                                inserted ? ChangeKind::SheetInserted : ChangeKind::SheetDeleted};
    QList<QVariantList> toWrite;
    const int row = m_state.nextHistoryRow;
    const bool withinBudget = m_state.keepRecord(record, toWrite);
    m_state.writeHistoryRows(*m_host, row, toWrite);
    return withinBudget;
}

bool DiffRun::measureSheetPair(const SheetPair& pair, QString& sheetName)
{
    const QString books[] = {m_state.firstName, m_state.secondName};
    const int sheets[] = {pair.first, pair.second};
    m_host->activateWorkbook(books[0]);
    m_host->activateSheet(books[0], sheets[0]);
    sheetName = m_host->sheetName(books[0], sheets[0]);
    m_host->activateWorkbook(books[1]);
    m_host->activateSheet(books[1], sheets[1]);
    std::optional<host::CellPosition> extents[2];
    for (int i = 0; i < 2; ++i) {
        m_host->activateWorkbook(books[i]);
        m_host->activateSheet(books[i], sheets[i]);
        extents[i] = run::usedExtent(*m_host, m_ui, m_password, books[i], sheets[i]);
        if (!extents[i])
            return false;
        m_state.row = extents[i]->row;
        m_state.column = extents[i]->column;
    }
    m_state.maxRows = std::max(extents[0]->row, extents[1]->row);
    m_state.maxColumns = std::max(extents[0]->column, extents[1]->column);
    return true;
}

DiffEnding DiffRun::finish()
{
    ChangeHistory history(*m_host, m_ui, m_state, m_password);
    if (!history.finish())
        return abort(DiffEnding::PasswordFailed);
    m_ui.closeProgress();
    const DiffBudget& budget = m_state.budget;
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
    ErrorReportState report = m_state.reportState(number, description);
    report.environment = m_factory.environment();
    m_ui.showErrorReport(errorReportText(report));
    m_ui.closeProgress();
    closeEverythingIgnoringFailure();
    return DiffEnding::Failed;
}

void DiffRun::closeEverythingIgnoringFailure()
{
    if (m_host) {
        for (const QString& book : {m_state.firstName, m_state.secondName, m_state.historyName})
            run::callIgnoringFailure([&] { m_host->closeWorkbook(book); });
        run::JobOffice::quitIgnoringFailure(std::move(m_host));
    }
    m_state.previousHistory.restore();
}

void DiffRun::message(const QString& text, const QString& title, MessageIcon icon, bool foreground)
{
    m_ui.showMessage({text, title, icon, run::MessageButtons::Ok, foreground});
}

} // namespace brelix::compare
