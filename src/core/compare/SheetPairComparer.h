#pragma once

#include "core/compare/DiffRunState.h"
#include "core/host/HostError.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/RunUi.h"

namespace brelix::compare {

// Compares sheet s of both workbooks cell by cell over the larger of their extents and records
// every differing cell. It reads a block of rows per host call and colours and writes what the
// block found before reading the next, yet finds the same records in the same order, with the
// same budget, progress and cancel points as reading cell by cell.
class SheetPairComparer {
public:
    SheetPairComparer(host::SpreadsheetHost& host, run::RunUi& ui, DiffRunState& state)
        : m_host(host), m_ui(ui), m_state(state)
    {
    }

    void compare(int sheet, const QString& sheetName);

private:
    // False once the budget has run out.
    bool record(int sheet, const QString& sheetName, int row, int column, const QString& first,
                const QString& second);
    void flush(int sheet);
    // Rethrow a failed block call with the run's place set to the cell that fails.
    [[noreturn]] void locateFailedRead(int sheet, host::CellTextKind kind,
                                       const host::HostError& blockError);
    [[noreturn]] void locateFailedColouring(int sheet, const host::HostError& blockError);

    host::SpreadsheetHost& m_host;
    run::RunUi& m_ui;
    DiffRunState& m_state;
    QList<host::CellPosition> m_toColour;
    QList<QVariantList> m_toWrite;
    int m_writeRow = 0;
};

} // namespace brelix::compare
