#include "core/search/SheetSearcher.h"

#include "core/host/CellAddress.h"
#include "core/host/HostError.h"

#include <cmath>

namespace brelix::search {

namespace {

// Cells per read: few calls, bounded memory on wide sheets.
constexpr int kCellsPerRead = 20000;

} // namespace

void SheetSearcher::search(const QString& book, int sheet, const QString& sheetName,
                           const host::CellPosition& extent)
{
    const int rows = extent.row;
    const int columns = extent.column;
    const int rowsPerRead = std::max(1, kCellsPerRead / std::max(1, columns));
    float progress = 0;
    const float step = 100.0f / static_cast<float>(rows);
    QList<QStringList> block;
    int blockFirstRow = 0;
    bool unreadable = false;

    for (int r = 1; r <= rows; ++r) {
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            break;
        if (!unreadable && (blockFirstRow == 0 || r - blockFirstRow >= block.size())) {
            blockFirstRow = r;
            const int lastRow = std::min(rows, r + rowsPerRead - 1);
            try {
                block = m_host.rangeTexts(book, sheet, {{r, 1}, {lastRow, columns}},
                                          host::CellTextKind::Value);
            } catch (const host::HostError&) {
                // The run goes on; the end of the run names the file.
                block.clear();
                unreadable = true;
                m_state.skip(m_state.currentFile);
            }
        }
        const QStringList none;
        const QStringList& cells =
            r - blockFirstRow < block.size() ? block[r - blockFirstRow] : none;
        for (int c = 1; c <= columns && c <= cells.size(); ++c) {
            const QString text =
                m_state.settings.caseSensitive ? cells[c - 1] : cells[c - 1].toUpper();
            if (!text.contains(m_state.searchText))
                continue;
            const HitRecord hit{m_state.hitCounter - 1,
                                m_state.currentFile,
                                sheetName,
                                sheet,
                                host::cellAddress(r, c),
                                text};
            m_hitFile.append(hit);
            m_state.hits.append(hit);
            m_state.hitCounter += 1;
        }
        progress += step;
        m_ui.setProgressPercent(static_cast<int>(std::nearbyint(progress)));
    }
}

} // namespace brelix::search
