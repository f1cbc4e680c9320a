#pragma once

#include "core/compare/DiffRunState.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/ResultsWorkbook.h"
#include "core/run/RunUi.h"

namespace brelix::compare {

// The output workbook of a comparison: a fresh copy of the template, filled record by record,
// then named, marked, annotated, saved and left open for the user.
class ChangeHistory {
public:
    ChangeHistory(host::SpreadsheetHost& host, run::RunUi& ui, DiffRunState& state,
                  QString& password)
        : m_host(host), m_ui(ui), m_state(state), m_inputs(state.inputs), m_password(password),
          m_workbook(host, state.inputs.historyName, run::HostFailures::PassThrough)
    {
    }

    // The three steps of making it, each a stage of its own for the error report; a folder
    // comparison's history is made from the template the same way.
    static void copyTemplate(DiffRunState& state);
    static void makeWritable(const DiffInputs& inputs);
    void open();

    // Puts it as a strip below the workbooks' windows as the office arranged them.
    void placeStrip(const host::WindowGeometry& arranged, double width);

    // Names, marks, annotates and saves it and hands the office over. False when the extent
    // of the history could not be taken (the password ending).
    bool finish();

private:
    int recordSheetCount() const;
    void markFurtherSheets(int sheets, int columns);
    void writeNotes(const QString& sheetName);
    void note(int row, const QString& text);

    host::SpreadsheetHost& m_host;
    run::RunUi& m_ui;
    DiffRunState& m_state;
    const DiffInputs& m_inputs;
    QString& m_password;
    run::ResultsWorkbook m_workbook;
    // Where the notes go: a sheet, and how far its rows lie above the first sheet's.
    struct {
        int sheet = 1;
        int rowShift = 0;
    } m_notesPlace;
};

} // namespace brelix::compare
