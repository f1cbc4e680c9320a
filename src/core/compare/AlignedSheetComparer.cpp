#include "core/compare/AlignedSheetComparer.h"

#include "core/compare/KeyedRowMatcher.h"
#include "core/host/CellAddress.h"
#include "core/host/HostError.h"
#include "core/run/RowBlockReader.h"

#include <cmath>

namespace brelix::compare {

namespace {

host::CellPosition cellAt(int rowIndex, int columnIndex)
{
    return {rowIndex + 1, columnIndex + 1};
}

QString addressOf(const std::optional<host::CellPosition>& cell)
{
    return cell ? host::cellAddress(cell->row, cell->column) : QString();
}

SheetTexts foldedTexts(const SheetTexts& texts, const EqualityRules& rules)
{
    SheetTexts folded;
    folded.reserve(texts.size());
    for (const QStringList& row : texts) {
        QStringList& foldedRow = folded.emplace_back();
        foldedRow.reserve(row.size());
        for (const QString& text : row)
            foldedRow.append(rules.folded(text));
    }
    return folded;
}

// The column that `columns` pairs with column `first`; the same place where it has none.
int partnerOf(const QList<LinePair>& columns, int first)
{
    for (const LinePair& column : columns) {
        if (column.first == first && !column.deleted())
            return column.second;
    }
    return first;
}

} // namespace

void AlignedSheetComparer::compare(const SheetPair& sheets, const QString& sheetName)
{
    m_sheets = sheets;
    m_sheetName = sheetName;
    m_ui.processEvents();
    m_state.stage = Stage::CompareSheetPair;
    m_writeRow = m_state.nextHistoryRow();
    SheetTexts first, second;
    if (read(first, second)) {
        const EqualityRules& rules = m_inputs.settings.equality;
        const auto [rows, columns] =
            rules.foldsTexts() ? match(foldedTexts(first, rules), foldedTexts(second, rules))
                               : match(first, second);
        float progress = 0;
        const float step = 100.0f / static_cast<float>(std::max<qsizetype>(1, rows.size()));
        for (const LinePair& row : rows) {
            m_state.cell.row = (row.inserted() ? row.second : row.first) + 1;
            m_ui.processEvents();
            if (m_ui.cancelRequested())
                break;
            m_state.stage = Stage::NextRow;
            compareRow(row, columns, row.inserted() ? QStringList() : first[row.first],
                       row.deleted() ? QStringList() : second[row.second]);
            progress += step;
            m_ui.setProgressPercent(static_cast<int>(std::nearbyint(progress)));
        }
    }
    flush();
    m_state.selectFirstCells(m_host, sheets);
}

std::pair<QList<LinePair>, QList<LinePair>>
AlignedSheetComparer::match(const SheetTexts& first, const SheetTexts& second) const
{
    const QList<int>& keys = m_inputs.settings.keyColumns;
    QList<LinePair> columns;
    if (m_inputs.settings.alignRows) {
        const SheetAlignment alignment(first, second, m_state.sheets().maxColumns);
        if (keys.isEmpty())
            return {alignment.rows(), alignment.columns()};
        columns = alignment.columns();
    } else {
        for (int c = 0; c < m_state.sheets().maxColumns; ++c)
            columns.append({c, c});
    }
    // A key column of the first sheet is found in the second where the columns matched it.
    QList<int> firstKeys, secondKeys;
    for (const int key : keys) {
        firstKeys.append(key - 1);
        secondKeys.append(partnerOf(columns, key - 1));
    }
    return {KeyedRowMatcher::match(first, second, firstKeys, secondKeys), columns};
}

// The cells of one matched row, column by column, up to the end of the budget.
void AlignedSheetComparer::compareRow(const LinePair& row, const QList<LinePair>& columns,
                                      const QStringList& a, const QStringList& b)
{
    for (const LinePair& column : columns) {
        const QString x = column.inserted() ? QString() : a.value(column.first);
        const QString y = column.deleted() ? QString() : b.value(column.second);
        m_state.cell.column = (column.inserted() ? column.second : column.first) + 1;
        m_state.stage = Stage::CompareCell;
        if (m_inputs.settings.equality.leaveOut(column.first + 1, x, y))
            continue;
        // A cell has an address in each workbook that has its row and its column.
        std::optional<host::CellPosition> from, to;
        if (!row.inserted() && !column.inserted())
            from = cellAt(row.first, column.first);
        if (!row.deleted() && !column.deleted())
            to = cellAt(row.second, column.second);
        const ChangeKind kind = row.inserted()      ? ChangeKind::RowInserted
                                : row.deleted()     ? ChangeKind::RowDeleted
                                : column.inserted() ? ChangeKind::ColumnInserted
                                : column.deleted()  ? ChangeKind::ColumnDeleted
                                                    : ChangeKind::Changed;
        if (!record(kind, from, to, x, y))
            return;
    }
}

bool AlignedSheetComparer::read(SheetTexts& first, SheetTexts& second)
{
    const host::CellPosition extent{m_state.sheets().maxRows, m_state.sheets().maxColumns};
    const auto kind = m_inputs.byValue() ? host::CellTextKind::Value : host::CellTextKind::Formula;
    run::RowBlockReader firstReader(m_host, m_inputs.firstName, m_sheets.first, extent, kind);
    run::RowBlockReader secondReader(m_host, m_inputs.secondName, m_sheets.second, extent, kind);
    for (int r = 1; r <= m_state.sheets().maxRows; ++r) {
        m_state.cell.row = r;
        if (firstReader.needsRead(r)) {
            m_ui.processEvents();
            if (m_ui.cancelRequested())
                return false;
            m_state.stage = m_inputs.byValue() ? Stage::ReadValues : Stage::ReadFormulas;
            m_state.cell.column = 1;
            run::RowBlockReader::readBothFrom(firstReader, secondReader, r);
        }
        first.append(firstReader.row(r));
        second.append(secondReader.row(r));
    }
    return true;
}

bool AlignedSheetComparer::record(ChangeKind kind, std::optional<host::CellPosition> firstCell,
                                  std::optional<host::CellPosition> secondCell,
                                  const QString& firstText, const QString& secondText)
{
    if (m_inputs.settings.colourDifferences) {
        m_state.stage = Stage::ColourCells;
        if (m_inputs.settings.coloursSeen) {
            if (kind == ChangeKind::Changed)
                m_changedFirst.append(*firstCell), m_changedSecond.append(*secondCell);
            else if (firstCell)
                m_deleted.append(*firstCell);
            else
                m_inserted.append(*secondCell);
        }
        m_state.budget.chargeColouring();
    }
    m_state.stage = Stage::MakeRecord;
    const DiffRecord record{m_state.nextHistoryRow() - 1, m_sheetName, m_sheets.first,
                            addressOf(firstCell),         firstText,   secondText,
                            addressOf(secondCell),        kind};
    return m_state.keepRecord(record, m_toWrite);
}

void AlignedSheetComparer::flush()
{
    m_state.stage = Stage::ColourCells;
    const auto fill = [&](const QString& book, int sheet, QList<host::CellPosition>& cells,
                          int colour) {
        if (!cells.isEmpty())
            m_host.fillCells(book, sheet, cells, colour);
    };
    const int first = m_sheets.first, second = m_sheets.second;
    fill(m_inputs.firstName, first, m_changedFirst, m_inputs.settings.diffColour);
    fill(m_inputs.secondName, second, m_changedSecond, m_inputs.settings.diffColour);
    fill(m_inputs.firstName, first, m_deleted, kDeletedColour);
    fill(m_inputs.secondName, second, m_inserted, kInsertedColour);
    m_changedFirst.clear();
    m_changedSecond.clear();
    m_deleted.clear();
    m_inserted.clear();
    m_state.writeHistoryRows(m_host, m_writeRow, m_toWrite);
    m_writeRow = m_state.nextHistoryRow();
}

} // namespace brelix::compare
