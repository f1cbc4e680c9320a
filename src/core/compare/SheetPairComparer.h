#pragma once

#include "core/compare/DiffRunState.h"
#include "core/compare/SheetPair.h"
#include "core/host/HostError.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/RunUi.h"

namespace brelix::compare {

// Compares a sheet pair cell by cell over the larger of their extents and records every cell
// whose texts differ by the rules of equality. It reads a block of rows per host call and colours
// and writes what the block found before reading the next, yet finds the same records in the same
// order, with the same budget, progress and cancel points as reading cell by cell.
class SheetPairComparer {
public:
    SheetPairComparer(host::SpreadsheetHost& host, run::RunUi& ui, DiffRunState& state)
        : m_host(host), m_ui(ui), m_state(state), m_inputs(state.inputs)
    {
    }

    void compare(const SheetPair& sheets, const QString& sheetName);

private:
    // False once the budget has run out.
    bool record(const QString& sheetName, int row, int column, const QString& first,
                const QString& second);
    void flush();
    // Rethrow a failed block call with the run's place set to the cell that fails.
    [[noreturn]] void locateFailedRead(host::CellTextKind kind, const host::HostError& blockError);
    [[noreturn]] void locateFailedColouring(const host::HostError& blockError);

    host::SpreadsheetHost& m_host;
    run::RunUi& m_ui;
    DiffRunState& m_state;
    const DiffInputs& m_inputs;
    SheetPair m_sheets;
    QList<host::CellPosition> m_toColour;
    QList<QVariantList> m_toWrite;
    int m_writeRow = 0;
};

} // namespace brelix::compare
