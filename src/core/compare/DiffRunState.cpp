#include "core/compare/DiffRunState.h"

#include "core/run/RecordSheets.h"

namespace brelix::compare {

ErrorReportState DiffRunState::reportState(int errorNumber, const QString& description) const
{
    const DiffSettings& settings = inputs.settings;
    return {.stage = static_cast<int>(stage),
            .errorNumber = errorNumber,
            .errorDescription = description,
            .workDone = budget.spent(),
            .largest = {m_sheets.firstSheetCount, m_sheets.maxRows, m_sheets.maxColumns},
            .current = {m_sheets.sheet, cell.row, cell.column},
            .names = {inputs.firstName, inputs.secondName, inputs.historyName},
            .paths = {settings.firstPath, settings.secondPath, settings.outputPath},
            .environment = {}};
}

bool DiffRunState::keepRecord(const DiffRecord& record, QList<QVariantList>& toWrite)
{
    stage = Stage::RecordDifference;
    m_records.append(record);
    if (!inputs.historyName.isEmpty()) // a folder's pairs keep records for one history later
        toWrite.append(inputs.settings.recordsKinds() ? record.alignedRow() : record.row());
    stage = Stage::CountDifference;
    m_nextHistoryRow += 1;
    return budget.chargeRecord();
}

void DiffRunState::writeHistoryRows(host::SpreadsheetHost& host, int firstRow,
                                    QList<QVariantList>& rows)
{
    const QString& history = inputs.historyName;
    if (rows.isEmpty())
        return;
    stage = Stage::RecordDifference;
    host.activateWorkbook(history);
    run::RecordSheets(host, history, inputs.settings.historySheetRows, files::kTemplateSheets[0])
        .write(firstRow - 1, rows);
    rows.clear();
}

void DiffRunState::selectFirstCells(host::SpreadsheetHost& host, const SheetPair& sheets) const
{
    host.activateWorkbook(inputs.firstName);
    host.selectRange(inputs.firstName, sheets.first, {{1, 1}, {1, 1}});
    host.activateWorkbook(inputs.secondName);
    host.selectRange(inputs.secondName, sheets.second, {{1, 1}, {1, 1}});
}

} // namespace brelix::compare
