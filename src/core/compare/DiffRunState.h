#pragma once

#include "core/compare/DiffRecord.h"
#include "core/compare/DiffRules.h"
#include "core/compare/DiffSettings.h"
#include "core/compare/ErrorReport.h"
#include "core/compare/Stage.h"
#include "core/run/PreviousResult.h"
#include "core/run/ProgramFiles.h"

#include <QList>
#include <QString>

namespace brelix::compare {

// The work budget of one comparison: a sheet pair costs rows x columns x 2 + 50, a coloured
// pair 6, a recorded difference 2; beyond this the comparison stops.
constexpr qint64 kDiffBudget = 16382;

// Everything one comparison knows while it runs; the error report shows it as it stands.
struct DiffRunState {
    DiffSettings settings;
    bool byValue = true;
    SheetRange range;
    QString firstName;
    QString secondName;
    QString historyName = run::kResultsFile;
    run::PreviousResult previousHistory; // back in place unless the new one is saved
    int firstSheetCount = 0;             // lowered to the last sheet of the range once known
    int secondSheetCount = 0;
    QList<bool> firstVisible; // index 0 is sheet 1
    QList<bool> secondVisible;
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
    qint64 workDone = 0;       // 64-bit: a huge sheet is "too large", never an overflow
    QString cutShortNote;      // where the budget ran out
    QString lastSheetCompared; // the sheet it names
    Stage stage = Stage::None;
    QList<DiffRecord> records;

    bool cutShort() const { return !settings.noSizeLimit && workDone > kDiffBudget; }
    ErrorReportState reportState(int errorNumber, const QString& description) const;
};

} // namespace brelix::compare
