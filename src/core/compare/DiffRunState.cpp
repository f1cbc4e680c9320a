#include "core/compare/DiffRunState.h"

namespace brelix::compare {

ErrorReportState DiffRunState::reportState(int errorNumber, const QString& description) const
{
    ErrorReportState report;
    report.trapNumber = trap;
    report.errorNumber = errorNumber;
    report.errorDescription = description;
    report.processingCount = processing;
    report.lastSheet = firstCount;
    report.maxRows = maxRows;
    report.maxColumns = maxColumns;
    report.currentSheet = sheet;
    report.currentRow = row;
    report.currentColumn = column;
    report.firstName = firstName;
    report.secondName = secondName;
    report.outputName = outputName;
    report.firstPath = settings.firstPath;
    report.secondPath = settings.secondPath;
    report.outputPath = settings.outputPath;
    return report;
}

} // namespace brelix::compare
