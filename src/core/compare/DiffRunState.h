#pragma once

#include "core/compare/DiffBudget.h"
#include "core/compare/DiffInputs.h"
#include "core/compare/DiffRecord.h"
#include "core/compare/ErrorReport.h"
#include "core/compare/SheetPair.h"
#include "core/compare/Stage.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/PreviousResult.h"

#include <QList>
#include <QString>
#include <QVariantList>

namespace brelix::compare {

// Everything one comparison knows while it runs; the error report shows it as it stands.
// Each part has one writer and the others read it: the inputs are fixed when the run makes the
// state; the sheets are WorkbookComparer's; the records and the change history's next row are
// kept here; the budget and the previous history change only through their own calls. The
// trace alone, the stage and the cell, is set by whichever step is at work.
class DiffRunState {
public:
    // What the workbooks' sheets hold, and the sheet the run stands on.
    struct Sheets {
        int firstSheetCount = 0; // lowered to the last sheet of the range once known
        int sheet = 0;
        // The larger extent of the sheet pair being compared.
        int maxRows = 0;
        int maxColumns = 0;
        bool sawHiddenSheet = false;
    };

    explicit DiffRunState(DiffInputs runInputs)
        : inputs(std::move(runInputs)), budget(inputs.settings.noSizeLimit)
    {
    }

    const DiffInputs inputs;
    DiffBudget budget;
    run::PreviousResult previousHistory; // back in place unless the new one is saved
    Stage stage = Stage::None;
    host::CellPosition cell{0, 0}; // the cell at work, or a sheet's extent

    const Sheets& sheets() const { return m_sheets; }
    const QList<DiffRecord>& records() const { return m_records; }
    int nextHistoryRow() const { return m_nextHistoryRow; }

    ErrorReportState reportState(int errorNumber, const QString& description) const;
    // Keeps a difference found: its record, its change-history row in `toWrite` and its cost.
    // False once the budget is spent.
    bool keepRecord(const DiffRecord& record, QList<QVariantList>& toWrite);
    // Writes the rows kept since history row `firstRow` (on further sheets past a sheet's rows)
    // and empties `rows`.
    void writeHistoryRows(host::SpreadsheetHost& host, int firstRow, QList<QVariantList>& rows);
    // Back to A1 of the pair's sheets, where the last-cell probe had moved the selection.
    void selectFirstCells(host::SpreadsheetHost& host, const SheetPair& sheets) const;

private:
    friend class WorkbookComparer; // the only writer of the sheets
    Sheets m_sheets;
    QList<DiffRecord> m_records;
    int m_nextHistoryRow = 2;
};

} // namespace brelix::compare
