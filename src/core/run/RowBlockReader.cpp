#include "core/run/RowBlockReader.h"

#include <algorithm>

namespace brelix::run {

namespace {

constexpr int kCellsPerRead = 20000;

} // namespace

bool RowBlockReader::needsRead(int row) const
{
    return m_firstRow == 0 || row - m_firstRow >= m_rows.size();
}

void RowBlockReader::readFrom(int row)
{
    m_firstRow = row;
    m_rows.clear();
    const int rowsPerRead = std::max(1, kCellsPerRead / std::max(1, m_extent.column));
    const int lastRow = std::min(m_extent.row, row + rowsPerRead - 1);
    m_rows = m_host.rangeTexts(m_book, m_sheet, {{row, 1}, {lastRow, m_extent.column}}, m_kind);
}

const QStringList& RowBlockReader::row(int row) const
{
    static const QStringList none;
    const qsizetype index = row - m_firstRow;
    return m_firstRow > 0 && index >= 0 && index < m_rows.size() ? m_rows[index] : none;
}

} // namespace brelix::run
