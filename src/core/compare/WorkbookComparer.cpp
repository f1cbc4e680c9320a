#include "core/compare/WorkbookComparer.h"

#include "core/compare/AlignedSheetComparer.h"
#include "core/compare/SheetPairComparer.h"
#include "core/run/UsedExtent.h"

#include <QCoreApplication>

namespace brelix::compare {

bool WorkbookComparer::countSheets()
{
    m_ui.setProgressBarVisible(true);
    m_ui.setCancelEnabled(true);
    const bool byName = m_inputs.settings.bySheetName;
    auto count = [&](const QString& book, int& total, QList<bool>& visible, QStringList& names) {
        m_host.activateWorkbook(book);
        total = m_host.sheetCount(book);
        visible.clear();
        for (m_sheets.sheet = 1; m_sheets.sheet <= total; ++m_sheets.sheet) {
            visible.append(m_host.isSheetVisible(book, m_sheets.sheet));
            if (!visible.last())
                m_sheets.sawHiddenSheet = true;
            if (byName)
                names.append(m_host.sheetName(book, m_sheets.sheet));
        }
    };
    count(m_inputs.firstName, m_sheets.firstSheetCount, m_firstVisible, m_firstSheetNames);
    count(m_inputs.secondName, m_secondSheetCount, m_secondVisible, m_secondSheetNames);
    return byName || m_sheets.firstSheetCount == m_secondSheetCount;
}

bool WorkbookComparer::limitToRange()
{
    m_state.stage = Stage::LimitSheetRange;
    m_state.budget.start();
    const SheetRange& range = m_inputs.range;
    if (range.last <= m_sheets.firstSheetCount)
        m_sheets.firstSheetCount = range.last;
    return range.start <= m_sheets.firstSheetCount;
}

QList<SheetPair> WorkbookComparer::sheetPairs() const
{
    const bool byName = m_inputs.settings.bySheetName;
    const QStringList& firstNames = m_firstSheetNames;
    const QStringList& secondNames = m_secondSheetNames;
    const SheetRange& range = m_inputs.range;
    QList<SheetPair> pairs;
    for (int s = range.start; s <= m_sheets.firstSheetCount; ++s)
        pairs.append({s, byName ? int(secondNames.indexOf(firstNames[s - 1])) + 1 : s});
    // Sheets added to the second workbook count only when the whole first one was compared.
    for (int t = 1; byName && range.whole && t <= m_secondSheetCount; ++t) {
        if (!firstNames.contains(secondNames[t - 1]))
            pairs.append({0, t});
    }
    return pairs;
}

bool WorkbookComparer::isVisible(const SheetPair& sheets) const
{
    return (sheets.inserted() || m_firstVisible.value(sheets.first - 1)) &&
           (sheets.deleted() || m_secondVisible.value(sheets.second - 1));
}

DiffEnding WorkbookComparer::compareSheets()
{
    m_state.stage = Stage::CompareSheets;
    for (const SheetPair& pair : sheetPairs()) {
        const int s = pair.inserted() ? pair.second : pair.first;
        m_sheets.sheet = s;
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
        if (!m_state.budget.chargeSheetPair(m_sheets.maxRows, m_sheets.maxColumns, s, sheetName))
            break;
        m_ui.setProgressCaption(m_inputs.captionPrefix +
                                QCoreApplication::translate("DiffRun", "比較中-%1/%2:%3")
                                    .arg(s)
                                    .arg(m_sheets.firstSheetCount)
                                    .arg(sheetName));
        if (m_inputs.settings.alignRows || !m_inputs.settings.keyColumns.isEmpty())
            AlignedSheetComparer(m_host, m_ui, m_state).compare(pair, sheetName);
        else
            SheetPairComparer(m_host, m_ui, m_state).compare(pair, sheetName);
    }
    return DiffEnding::Finished;
}

bool WorkbookComparer::recordUnpairedSheet(const SheetPair& sheets)
{
    if (!m_state.budget.admitSheet())
        return false;
    const bool inserted = sheets.inserted();
    const int sheet = inserted ? sheets.second : sheets.first;
    const DiffRecord record{
        .sequence = m_state.nextHistoryRow() - 1,
        .sheetName = inserted ? m_secondSheetNames[sheet - 1] : m_firstSheetNames[sheet - 1],
        .sheetNumber = sheet,
        .kind = inserted ? ChangeKind::SheetInserted : ChangeKind::SheetDeleted};
    QList<QVariantList> toWrite;
    const int row = m_state.nextHistoryRow();
    const bool withinBudget = m_state.keepRecord(record, toWrite);
    m_state.writeHistoryRows(m_host, row, toWrite);
    return withinBudget;
}

bool WorkbookComparer::measureSheetPair(const SheetPair& pair, QString& sheetName)
{
    const QString books[] = {m_inputs.firstName, m_inputs.secondName};
    const int sheets[] = {pair.first, pair.second};
    m_host.activateWorkbook(books[0]);
    m_host.activateSheet(books[0], sheets[0]);
    sheetName = m_host.sheetName(books[0], sheets[0]);
    m_host.activateWorkbook(books[1]);
    m_host.activateSheet(books[1], sheets[1]);
    std::optional<host::CellPosition> extents[2];
    for (int i = 0; i < 2; ++i) {
        m_host.activateWorkbook(books[i]);
        m_host.activateSheet(books[i], sheets[i]);
        extents[i] = run::usedExtent(m_host, m_ui, m_password, books[i], sheets[i]);
        if (!extents[i])
            return false;
        m_state.cell = *extents[i];
    }
    m_sheets.maxRows = std::max(extents[0]->row, extents[1]->row);
    m_sheets.maxColumns = std::max(extents[0]->column, extents[1]->column);
    return true;
}

} // namespace brelix::compare
