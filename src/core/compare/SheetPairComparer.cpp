#include "core/compare/SheetPairComparer.h"

#include "core/host/CellAddress.h"

#include <cmath>

namespace brelix::compare {

namespace {

// Rows per read: few calls, bounded memory on wide sheets.
constexpr int kCellsPerRead = 20000;

QString cellOf(const QList<QStringList>& rows, int r, int c)
{
    return r < rows.size() && c < rows[r].size() ? rows[r][c] : QString();
}

} // namespace

void SheetPairComparer::readBlock(int sheet, int firstRow)
{
    const int rows = std::max(1, kCellsPerRead / std::max(1, m_state.maxColumns));
    const int lastRow = std::min(m_state.maxRows, firstRow + rows - 1);
    const host::CellRange block{{firstRow, 1}, {lastRow, m_state.maxColumns}};
    const auto kind = m_state.byValue ? host::CellTextKind::Value : host::CellTextKind::Formula;
    m_state.trap = m_state.byValue ? 111 : 112;
    m_first = m_host.rangeTexts(m_state.firstName, sheet, block, kind);
    m_second = m_host.rangeTexts(m_state.secondName, sheet, block, kind);
    m_blockFirstRow = firstRow;
}

void SheetPairComparer::compare(int sheet, const QString& sheetName)
{
    float progress = 0;
    const float step = 100.0f / static_cast<float>(m_state.maxRows);
    m_ui.processEvents();
    m_state.trap = 72;
    m_blockFirstRow = 0;
    m_writeRow = m_state.outputRow;

    for (int r = 1; r <= m_state.maxRows; ++r) {
        m_state.row = r;
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            break;
        m_state.trap = 101;
        if (m_blockFirstRow == 0 || r - m_blockFirstRow >= m_first.size())
            readBlock(sheet, r);
        for (int c = 1; c <= m_state.maxColumns; ++c) {
            m_state.column = c;
            const QString first = cellOf(m_first, r - m_blockFirstRow, c - 1);
            const QString second = cellOf(m_second, r - m_blockFirstRow, c - 1);
            m_state.trap = 102;
            if (first == second)
                continue;
            const QString address = host::cellAddress(r, c);
            if (m_state.settings.colorDiff) {
                m_state.trap = 103;
                m_toColour.append({r, c});
                m_state.processing += 6;
            }
            m_state.trap = 113;
            const DiffRecord record{
                m_state.outputRow - 1, sheetName, sheet, address, first, second};
            m_state.trap = 104;
            m_state.records.append(record);
            m_toWrite.append(record.row());
            m_state.trap = 105;
            m_state.outputRow += 1;
            m_state.processing += 2;
            if (m_state.cutShort()) {
                m_state.cutReason = QStringLiteral("以下のシートの途中まで比較が完了しました");
                break;
            }
        }
        progress += step;
        m_ui.setProgressPercent(static_cast<int>(std::nearbyint(progress)));
    }
    flush(sheet);

    // Back to A1 in both workbooks, where the last-cell probe had moved the selection.
    m_host.activateWorkbook(m_state.firstName);
    m_host.selectRange(m_state.firstName, sheet, {{1, 1}, {1, 1}});
    m_host.activateWorkbook(m_state.secondName);
    m_host.selectRange(m_state.secondName, sheet, {{1, 1}, {1, 1}});
}

void SheetPairComparer::flush(int sheet)
{
    if (!m_toColour.isEmpty()) {
        m_state.trap = 103;
        m_host.fillCells(m_state.firstName, sheet, m_toColour, m_state.settings.diffColor);
        m_host.fillCells(m_state.secondName, sheet, m_toColour, m_state.settings.diffColor);
        m_toColour.clear();
    }
    if (!m_toWrite.isEmpty()) {
        m_state.trap = 104;
        m_host.activateWorkbook(m_state.outputName);
        m_host.writeRows(m_state.outputName, 1, m_writeRow, 1, m_toWrite);
        m_toWrite.clear();
    }
}

} // namespace brelix::compare
