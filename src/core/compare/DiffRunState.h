#pragma once

#include "core/compare/DiffRecord.h"
#include "core/compare/DiffRules.h"
#include "core/compare/DiffSettings.h"
#include "core/compare/ErrorReport.h"

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
    QString outputName = QStringLiteral("Brelix.xls");
    int firstCount = 0; // lowered to the last sheet of the range once known
    int secondCount = 0;
    QList<bool> firstVisible; // index 0 is sheet 1
    QList<bool> secondVisible;
    bool hiddenSheet = false;
    bool startBeyond = false;
    int sheet = 0;
    int row = 0;
    int column = 0;
    int maxRows = 0;
    int maxColumns = 0;
    int outputRow = 2;
    qint64 processing = 0; // 64-bit: a huge sheet is "too large", never an overflow
    QString cutReason;
    QString lastSheetInfo;
    int trap = 0;
    QList<DiffRecord> records;

    bool cutShort() const { return processing > kDiffBudget; }
    ErrorReportState reportState(int errorNumber, const QString& description) const;
};

} // namespace brelix::compare
