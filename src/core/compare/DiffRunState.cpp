#include "core/compare/DiffRunState.h"

#include "core/run/RecordSheets.h"

namespace brelix::compare {

ErrorReportState DiffRunState::reportState(int errorNumber, const QString& description) const
{
    return {.stage = static_cast<int>(stage),
            .errorNumber = errorNumber,
            .errorDescription = description,
            .workDone = budget.spent(),
            .largest = {firstSheetCount, maxRows, maxColumns},
            .current = {sheet, row, column},
            .names = {firstName, secondName, historyName},
            .paths = {settings.firstPath, settings.secondPath, settings.outputPath},
            .environment = {}};
}

bool DiffRunState::keepRecord(const DiffRecord& record, QList<QVariantList>& toWrite)
{
    stage = Stage::RecordDifference;
    records.append(record);
    toWrite.append(settings.recordsKinds() ? record.alignedRow() : record.row());
    stage = Stage::CountDifference;
    nextHistoryRow += 1;
    return budget.chargeRecord();
}

void DiffRunState::writeHistoryRows(host::SpreadsheetHost& host, int firstRow,
                                    QList<QVariantList>& rows)
{
    if (rows.isEmpty() || historyName.isEmpty()) {
        rows.clear();
        return;
    }
    stage = Stage::RecordDifference;
    host.activateWorkbook(historyName);
    run::RecordSheets(host, historyName, settings.historySheetRows, files::kTemplateSheets[0])
        .write(firstRow - 1, rows);
    rows.clear();
}

void DiffRunState::selectFirstCells(host::SpreadsheetHost& host, const SheetPair& sheets) const
{
    host.activateWorkbook(firstName);
    host.selectRange(firstName, sheets.first, {{1, 1}, {1, 1}});
    host.activateWorkbook(secondName);
    host.selectRange(secondName, sheets.second, {{1, 1}, {1, 1}});
}

} // namespace brelix::compare
