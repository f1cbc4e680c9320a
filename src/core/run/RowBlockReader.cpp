#include "core/run/RowBlockReader.h"

#include <algorithm>
#include <tuple>

namespace brelix::run {

namespace {

constexpr int kCellsPerRead = 50000;

} // namespace

bool RowBlockReader::needsRead(int row) const
{
    return m_firstRow == 0 || row - m_firstRow >= m_rows.size();
}

host::CellRange RowBlockReader::blockFrom(int row) const
{
    const int rowsPerRead = std::max(1, kCellsPerRead / std::max(1, m_extent.column));
    const int lastRow = std::min(m_extent.row, row + rowsPerRead - 1);
    return {{row, 1}, {lastRow, m_extent.column}};
}

void RowBlockReader::readFrom(int row)
{
    m_firstRow = row;
    m_rows.clear();
    m_rows = m_host.rangeTexts(m_book, m_sheet, blockFrom(row), m_kind);
}

void RowBlockReader::readBothFrom(RowBlockReader& first, RowBlockReader& second, int row)
{
    for (RowBlockReader* reader : {&first, &second}) {
        reader->m_firstRow = row;
        reader->m_rows.clear();
    }
    std::tie(first.m_rows, second.m_rows) =
        first.m_host.rangeTextsOfBoth(first.m_book, second.m_book, first.m_sheet, second.m_sheet,
                                      first.blockFrom(row), first.m_kind);
}

const QStringList& RowBlockReader::row(int row) const
{
    static const QStringList none;
    const qsizetype index = row - m_firstRow;
    return m_firstRow > 0 && index >= 0 && index < m_rows.size() ? m_rows[index] : none;
}

} // namespace brelix::run
