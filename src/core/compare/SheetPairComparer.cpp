#include "core/compare/SheetPairComparer.h"

#include "core/host/CellAddress.h"
#include "core/run/RowBlockReader.h"

#include <cmath>

namespace brelix::compare {

void SheetPairComparer::compare(int sheet, const QString& sheetName)
{
    float progress = 0;
    const float step = 100.0f / static_cast<float>(m_state.maxRows);
    const host::CellPosition extent{m_state.maxRows, m_state.maxColumns};
    const auto kind = m_state.byValue ? host::CellTextKind::Value : host::CellTextKind::Formula;
    run::RowBlockReader first(m_host, m_state.firstName, sheet, extent, kind);
    run::RowBlockReader second(m_host, m_state.secondName, sheet, extent, kind);
    m_ui.processEvents();
    m_state.stage = Stage::CompareSheetPair;
    m_writeRow = m_state.nextHistoryRow;

    for (int r = 1; r <= m_state.maxRows; ++r) {
        m_state.row = r;
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            break;
        m_state.stage = Stage::NextRow;
        if (first.needsRead(r)) {
            m_state.stage = m_state.byValue ? Stage::ReadValues : Stage::ReadFormulas;
            first.readFrom(r);
            second.readFrom(r);
        }
        for (int c = 1; c <= m_state.maxColumns; ++c) {
            m_state.column = c;
            const QString firstText = first.row(r).value(c - 1);
            const QString secondText = second.row(r).value(c - 1);
            m_state.stage = Stage::CompareCell;
            if (firstText != secondText && !record(sheet, sheetName, r, c, firstText, secondText))
                break;
        }
        progress += step;
        m_ui.setProgressPercent(static_cast<int>(std::nearbyint(progress)));
    }
    flush(sheet);
    // Back to A1 in both workbooks, where the last-cell probe had moved the selection.
    for (const QString& book : {m_state.firstName, m_state.secondName}) {
        m_host.activateWorkbook(book);
        m_host.selectRange(book, sheet, {{1, 1}, {1, 1}});
    }
}

bool SheetPairComparer::record(int sheet, const QString& sheetName, int row, int column,
                               const QString& first, const QString& second)
{
    if (m_state.settings.colorDiff) {
        m_state.stage = Stage::ColourCells;
        m_toColour.append({row, column});
        m_state.workDone += 6;
    }
    m_state.stage = Stage::MakeRecord;
    const DiffRecord record{m_state.nextHistoryRow - 1,     sheetName, sheet,
                            host::cellAddress(row, column), first,     second};
    m_state.stage = Stage::RecordDifference;
    m_state.records.append(record);
    m_toWrite.append(record.row());
    m_state.stage = Stage::CountDifference;
    m_state.nextHistoryRow += 1;
    m_state.workDone += 2;
    if (!m_state.cutShort())
        return true;
    m_state.cutShortNote = QStringLiteral("以下のシートの途中まで比較が完了しました");
    return false;
}

void SheetPairComparer::flush(int sheet)
{
    if (!m_toColour.isEmpty()) {
        m_state.stage = Stage::ColourCells;
        m_host.fillCells(m_state.firstName, sheet, m_toColour, m_state.settings.diffColor);
        m_host.fillCells(m_state.secondName, sheet, m_toColour, m_state.settings.diffColor);
        m_toColour.clear();
    }
    if (!m_toWrite.isEmpty()) {
        m_state.stage = Stage::RecordDifference;
        m_host.activateWorkbook(m_state.historyName);
        m_host.writeRows(m_state.historyName, 1, m_writeRow, 1, m_toWrite);
        m_toWrite.clear();
    }
}

} // namespace brelix::compare
