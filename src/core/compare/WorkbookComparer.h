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
        : m_host(host), m_ui(ui), m_state(state), m_inputs(state.inputs), m_sheets(state.m_sheets),
          m_password(password)
    {
    }

    // The sheets of both workbooks, their visibility and (when sheets pair by name) their names.
    // False when sheets pair by place and their counts differ.
    bool countSheets();
    // The first workbook's sheet count lowered to the range; the budget starts. False when the
    // range starts past the last sheet.
    bool limitToRange();
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
    const DiffInputs& m_inputs;
    DiffRunState::Sheets& m_sheets;
    QString& m_password;
    int m_secondSheetCount = 0;
    QList<bool> m_firstVisible; // index 0 is sheet 1
    QList<bool> m_secondVisible;
    QStringList m_firstSheetNames; // only when sheets pair by name
    QStringList m_secondSheetNames;
};

} // namespace brelix::compare
