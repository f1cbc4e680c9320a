#pragma once

#include "core/compare/DiffBudget.h"
#include "core/compare/DiffRecord.h"
#include "core/compare/DiffRules.h"
#include "core/compare/DiffSettings.h"
#include "core/compare/ErrorReport.h"
#include "core/compare/SheetPair.h"
#include "core/compare/Stage.h"
#include "core/files/ProgramFiles.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/PreviousResult.h"

#include <QList>
#include <QString>
#include <QVariantList>

namespace brelix::compare {

// Everything one comparison knows while it runs; the error report shows it as it stands.
struct DiffRunState {
    DiffSettings settings;
    bool byValue = true;
    SheetRange range;
    QString firstName;
    QString secondName;
    QString historyName = files::kResultsFile; // empty: the records are only kept
    QString captionPrefix; // before each sheet's progress caption: the file of a folder run
    run::PreviousResult previousHistory; // back in place unless the new one is saved
    int firstSheetCount = 0;             // lowered to the last sheet of the range once known
    int secondSheetCount = 0;
    QList<bool> firstVisible; // index 0 is sheet 1
    QList<bool> secondVisible;
    QStringList firstSheetNames; // only when sheets pair by name
    QStringList secondSheetNames;
    bool sawHiddenSheet = false;
    bool startBeyondLastSheet = false;
    // Where the run stands: the sheet, and the row and column (or a sheet's extent).
    int sheet = 0;
    int row = 0;
    int column = 0;
    // The larger extent of the sheet pair being compared.
    int maxRows = 0;
    int maxColumns = 0;
    int nextHistoryRow = 2;
    DiffBudget budget;
    Stage stage = Stage::None;
    QList<DiffRecord> records;

    ErrorReportState reportState(int errorNumber, const QString& description) const;
    // Keeps a difference found: its record, its change-history row in `toWrite` and its cost.
    // False once the budget is spent.
    bool keepRecord(const DiffRecord& record, QList<QVariantList>& toWrite);
    // Writes the rows kept since history row `firstRow` (on further sheets past a sheet's rows)
    // and empties `rows`.
    void writeHistoryRows(host::SpreadsheetHost& host, int firstRow, QList<QVariantList>& rows);
    // Back to A1 of the pair's sheets, where the last-cell probe had moved the selection.
    void selectFirstCells(host::SpreadsheetHost& host, const SheetPair& sheets) const;
};

} // namespace brelix::compare
