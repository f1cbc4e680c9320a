#include "core/compare/WorkbookComparer.h"

#include "core/compare/AlignedSheetComparer.h"
#include "core/compare/SheetPairComparer.h"
#include "core/run/UsedExtent.h"

#include <QCoreApplication>

namespace brelix::compare {

void WorkbookComparer::countSheets()
{
    m_ui.setProgressBarVisible(true);
    m_ui.setCancelEnabled(true);
    const bool byName = m_state.settings.bySheetName;
    auto count = [&](const QString& book, int& total, QList<bool>& visible, QStringList& names) {
        m_host.activateWorkbook(book);
        total = m_host.sheetCount(book);
        visible.clear();
        for (m_state.sheet = 1; m_state.sheet <= total; ++m_state.sheet) {
            visible.append(m_host.isSheetVisible(book, m_state.sheet));
            if (!visible.last())
                m_state.sawHiddenSheet = true;
            if (byName)
                names.append(m_host.sheetName(book, m_state.sheet));
        }
    };
    count(m_state.firstName, m_state.firstSheetCount, m_state.firstVisible,
          m_state.firstSheetNames);
    count(m_state.secondName, m_state.secondSheetCount, m_state.secondVisible,
          m_state.secondSheetNames);
}

void WorkbookComparer::limitToRange()
{
    m_state.stage = Stage::LimitSheetRange;
    m_state.budget.start();
    if (m_state.range.last <= m_state.firstSheetCount)
        m_state.firstSheetCount = m_state.range.last;
    if (m_state.range.start > m_state.firstSheetCount)
        m_state.startBeyondLastSheet = true;
}

QList<SheetPair> WorkbookComparer::sheetPairs() const
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

bool WorkbookComparer::isVisible(const SheetPair& sheets) const
{
    return (sheets.inserted() || m_state.firstVisible.value(sheets.first - 1)) &&
           (sheets.deleted() || m_state.secondVisible.value(sheets.second - 1));
}

DiffEnding WorkbookComparer::compareSheets()
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
        m_ui.setProgressCaption(m_state.captionPrefix +
                                QCoreApplication::translate("DiffRun", "比較中-%1/%2:%3")
                                    .arg(s)
                                    .arg(m_state.firstSheetCount)
                                    .arg(sheetName));
        if (m_state.settings.alignRows || !m_state.settings.keyColumns.isEmpty())
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
    const DiffRecord record{.sequence = m_state.nextHistoryRow - 1,
                            .sheetName = inserted ? m_state.secondSheetNames[sheet - 1]
                                                  : m_state.firstSheetNames[sheet - 1],
                            .sheetNumber = sheet,
                            .kind =
                                inserted ? ChangeKind::SheetInserted : ChangeKind::SheetDeleted};
    QList<QVariantList> toWrite;
    const int row = m_state.nextHistoryRow;
    const bool withinBudget = m_state.keepRecord(record, toWrite);
    m_state.writeHistoryRows(m_host, row, toWrite);
    return withinBudget;
}

bool WorkbookComparer::measureSheetPair(const SheetPair& pair, QString& sheetName)
{
    const QString books[] = {m_state.firstName, m_state.secondName};
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
        m_state.row = extents[i]->row;
        m_state.column = extents[i]->column;
    }
    m_state.maxRows = std::max(extents[0]->row, extents[1]->row);
    m_state.maxColumns = std::max(extents[0]->column, extents[1]->column);
    return true;
}

} // namespace brelix::compare
