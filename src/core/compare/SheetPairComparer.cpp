#include "core/compare/SheetPairComparer.h"

#include "core/host/CellAddress.h"
#include "core/run/RowBlockReader.h"

#include <cmath>

namespace brelix::compare {

void SheetPairComparer::compare(const SheetPair& sheets, const QString& sheetName)
{
    m_sheets = sheets;
    float progress = 0;
    const host::CellPosition extent{m_state.sheets().maxRows, m_state.sheets().maxColumns};
    const float step = 100.0f / static_cast<float>(extent.row);
    const auto kind = m_inputs.byValue() ? host::CellTextKind::Value : host::CellTextKind::Formula;
    run::RowBlockReader first(m_host, m_inputs.firstName, sheets.first, extent, kind);
    run::RowBlockReader second(m_host, m_inputs.secondName, sheets.second, extent, kind);
    m_ui.processEvents();
    m_state.stage = Stage::CompareSheetPair;
    m_writeRow = m_state.nextHistoryRow();

    for (int r = 1; r <= extent.row; ++r) {
        m_state.cell.row = r;
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            break;
        m_state.stage = Stage::NextRow;
        if (first.needsRead(r)) {
            // What the block before found is written out first: memory stays flat.
            flush();
            m_state.stage = m_inputs.byValue() ? Stage::ReadValues : Stage::ReadFormulas;
            try {
                run::RowBlockReader::readBothFrom(first, second, r);
            } catch (const host::HostError& e) {
                locateFailedRead(kind, e);
            }
        }
        for (int c = 1; c <= extent.column; ++c) {
            m_state.cell.column = c;
            const QString firstText = first.row(r).value(c - 1);
            const QString secondText = second.row(r).value(c - 1);
            m_state.stage = Stage::CompareCell;
            // Most cells are the same: the rules are asked only about those that are not.
            if (firstText != secondText &&
                !m_inputs.settings.equality.leaveOut(c, firstText, secondText) &&
                !record(sheetName, r, c, firstText, secondText))
                break;
        }
        progress += step;
        m_ui.setProgressPercent(static_cast<int>(std::nearbyint(progress)));
    }
    flush();
    m_state.selectFirstCells(m_host, sheets);
}

bool SheetPairComparer::record(const QString& sheetName, int row, int column, const QString& first,
                               const QString& second)
{
    if (m_inputs.settings.colourDifferences) {
        m_state.stage = Stage::ColourCells;
        if (m_inputs.settings.coloursSeen)
            m_toColour.append({row, column});
        m_state.budget.chargeColouring();
    }
    m_state.stage = Stage::MakeRecord;
    const QString address = host::cellAddress(row, column);
    const DiffRecord record{
        m_state.nextHistoryRow() - 1, sheetName, m_sheets.first, address, first, second, address};
    return m_state.keepRecord(record, m_toWrite);
}

void SheetPairComparer::flush()
{
    if (!m_toColour.isEmpty()) {
        m_state.stage = Stage::ColourCells;
        try {
            m_host.fillCellsOfBoth(m_inputs.firstName, m_inputs.secondName, m_sheets.first,
                                   m_sheets.second, m_toColour, m_inputs.settings.diffColour);
        } catch (const host::HostError& e) {
            locateFailedColouring(e);
        }
        m_toColour.clear();
    }
    m_state.writeHistoryRows(m_host, m_writeRow, m_toWrite);
    m_writeRow = m_state.nextHistoryRow();
}

// A block read failed at the row of m_state.cell: reads on row by row, and in the failing row cell
// by cell (the first workbook before the second, as the comparison goes), so that the report names
// the first cell that fails on its own. A dead office is not asked again.
void SheetPairComparer::locateFailedRead(host::CellTextKind kind, const host::HostError& blockError)
{
    const int firstRow = m_state.cell.row;
    const auto read = [&](const host::CellRange& range) {
        m_host.rangeTexts(m_inputs.firstName, m_sheets.first, range, kind);
        m_host.rangeTexts(m_inputs.secondName, m_sheets.second, range, kind);
    };
    const int lastRow = blockError.kind() == host::HostError::Kind::Unavailable
                            ? firstRow - 1
                            : m_state.sheets().maxRows;
    for (int r = firstRow; r <= lastRow; ++r) {
        m_state.cell = {r, 1};
        try {
            read({{r, 1}, {r, m_state.sheets().maxColumns}});
        } catch (const host::HostError&) {
            for (int c = 1; c <= m_state.sheets().maxColumns; ++c) {
                m_state.cell.column = c;
                read({{r, c}, {r, c}});
            }
            m_state.cell.column = 1;
            throw; // the row's failure, when no cell fails alone
        }
    }
    m_state.cell = {firstRow, 1};
    throw blockError;
}

// Colouring the differences failed: colours them again one at a time, as they were found, so that
// the report names the first difference that fails on its own.
void SheetPairComparer::locateFailedColouring(const host::HostError& blockError)
{
    if (blockError.kind() != host::HostError::Kind::Unavailable) {
        for (const host::CellPosition& cell : std::as_const(m_toColour)) {
            m_state.cell = cell;
            m_host.fillCells(m_inputs.firstName, m_sheets.first, {cell},
                             m_inputs.settings.diffColour);
            m_host.fillCells(m_inputs.secondName, m_sheets.second, {cell},
                             m_inputs.settings.diffColour);
        }
    }
    m_state.cell = m_toColour.first();
    throw blockError;
}

} // namespace brelix::compare
