#pragma once

#include "core/compare/DiffOutcome.h"
#include "core/compare/DiffRunState.h"
#include "core/compare/SheetPair.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/RunUi.h"

namespace brelix::compare {

// The sheets of two workbooks open in one office, compared pair by pair: what a comparison of
// two files and each file of a folder comparison share. The records go into the run's state.
class WorkbookComparer {
public:
    WorkbookComparer(host::SpreadsheetHost& host, run::RunUi& ui, DiffRunState& state,
                     QString& password)
        : m_host(host), m_ui(ui), m_state(state), m_password(password)
    {
    }

    // The sheets of both workbooks, their visibility and (when sheets pair by name) their names.
    void countSheets();
    // The first workbook's sheet count lowered to the range; the budget starts.
    void limitToRange();
    // Finished, also when cancelled or cut short (the state tells), or PasswordFailed.
    DiffEnding compareSheets();

private:
    // The sheets of the range in the first workbook's order, each with its partner, then the
    // second workbook's sheets that have none.
    QList<SheetPair> sheetPairs() const;
    bool isVisible(const SheetPair& sheets) const;
    // False once the budget has run out.
    bool recordUnpairedSheet(const SheetPair& sheets);
    // False when a protected sheet's password was not given.
    bool measureSheetPair(const SheetPair& sheets, QString& sheetName);

    host::SpreadsheetHost& m_host;
    run::RunUi& m_ui;
    DiffRunState& m_state;
    QString& m_password;
};

} // namespace brelix::compare
