#include "core/compare/DiffRunState.h"

namespace brelix::compare {

ErrorReportState DiffRunState::reportState(int errorNumber, const QString& description) const
{
    return {.stage = static_cast<int>(stage),
            .errorNumber = errorNumber,
            .errorDescription = description,
            .workDone = workDone,
            .lastSheet = firstSheetCount,
            .maxRows = maxRows,
            .maxColumns = maxColumns,
            .currentSheet = sheet,
            .currentRow = row,
            .currentColumn = column,
            .firstName = firstName,
            .secondName = secondName,
            .outputName = historyName,
            .firstPath = settings.firstPath,
            .secondPath = settings.secondPath,
            .outputPath = settings.outputPath};
}

} // namespace brelix::compare
