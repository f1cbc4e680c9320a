#include "core/search/SheetSearcher.h"

#include "core/host/CellAddress.h"
#include "core/host/HostError.h"
#include "core/run/RowBlockReader.h"

#include <cmath>

namespace brelix::search {

void SheetSearcher::search(const QString& book, int sheet, const QString& sheetName,
                           const host::CellPosition& extent)
{
    float progress = 0;
    const float step = 100.0f / static_cast<float>(extent.row);
    run::RowBlockReader reader(m_host, book, sheet, extent, host::CellTextKind::Value);
    bool unreadable = false;

    for (int r = 1; r <= extent.row; ++r) {
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            break;
        if (!unreadable && reader.needsRead(r)) {
            try {
                reader.readFrom(r);
            } catch (const host::HostError& e) {
                // The run goes on; the end of the run names the file, unless a cancel ended
                // the office.
                unreadable = true;
                if (!m_ui.cancelRequested()) {
                    m_state.noteFailure(e);
                    m_state.skip(m_state.currentFile);
                }
            }
        }
        const QStringList& cells = reader.row(r);
        for (int c = 1; c <= extent.column && c <= cells.size(); ++c) {
            const QString text =
                m_state.settings.caseSensitive ? cells[c - 1] : cells[c - 1].toUpper();
            if (!text.contains(m_state.searchText))
                continue;
            const HitRecord hit{m_state.nextHitRow - 1,
                                m_state.currentFile,
                                sheetName,
                                sheet,
                                host::cellAddress(r, c),
                                text};
            if (m_hitFile)
                m_hitFile->append(hit);
            m_state.hits.append(hit);
            m_state.nextHitRow += 1;
        }
        progress += step;
        m_ui.setProgressPercent(static_cast<int>(std::nearbyint(progress)));
    }
}

} // namespace brelix::search
