#include "core/compare/DiffRunState.h"

namespace brelix::compare {

ErrorReportState DiffRunState::reportState(int errorNumber, const QString& description) const
{
    return {.stage = static_cast<int>(stage),
            .errorNumber = errorNumber,
            .errorDescription = description,
            .workDone = workDone,
            .largest = {firstSheetCount, maxRows, maxColumns},
            .current = {sheet, row, column},
            .names = {firstName, secondName, historyName},
            .paths = {settings.firstPath, settings.secondPath, settings.outputPath}};
}

} // namespace brelix::compare
