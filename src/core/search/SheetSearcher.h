#pragma once

#include "core/host/CellRange.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/RunUi.h"
#include "core/search/HitFile.h"
#include "core/search/SearchRunState.h"

namespace brelix::search {

// Looks for the search text in every cell of one sheet, row by row and column by column. It
// reads blocks of rows per host call, yet finds the same hits in the same order, with the same
// progress and cancel points, as reading cell by cell.
class SheetSearcher {
public:
    // `hitFile`: where each hit goes besides the state, if anywhere.
    SheetSearcher(host::SpreadsheetHost& host, run::RunUi& ui, SearchRunState& state,
                  HitFile* hitFile)
        : m_host(host), m_ui(ui), m_state(state), m_hitFile(hitFile)
    {
    }

    void search(const QString& book, int sheet, const QString& sheetName,
                const host::CellPosition& extent);

private:
    host::SpreadsheetHost& m_host;
    run::RunUi& m_ui;
    SearchRunState& m_state;
    HitFile* m_hitFile;
};

} // namespace brelix::search
