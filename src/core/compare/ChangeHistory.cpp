#include "core/compare/ChangeHistory.h"

#include "core/host/HostError.h"
#include "core/run/RecordSheets.h"
#include "core/run/RunFailure.h"

#include <QCoreApplication>

namespace brelix::compare {

using run::ResultsWorkbook;
using run::RunFailure;

void ChangeHistory::copyTemplate(DiffRunState& state)
{
    const DiffSettings& settings = state.inputs.settings;
    state.previousHistory = run::PreviousResult(settings.outputPath);
    if (!ResultsWorkbook::copyTemplate(settings.templatePath, settings.outputPath))
        throw RunFailure(RunFailure::FileAccess,
                         QStringLiteral("%1 could not be copied to %2")
                             .arg(settings.templatePath, settings.outputPath));
}

void ChangeHistory::makeWritable(const DiffInputs& inputs)
{
    if (!ResultsWorkbook::makeWritable(inputs.settings.outputPath))
        throw RunFailure(
            RunFailure::FileAccess,
            QStringLiteral("%1 could not be made writable").arg(inputs.settings.outputPath));
}

void ChangeHistory::open()
{
    // Written and saved the same either way; only one that will be shown needs a window.
    if (m_inputs.settings.coloursSeen)
        m_host.openWorkbook(m_inputs.settings.outputPath);
    else
        m_host.openWorkbookUnseen(m_inputs.settings.outputPath);
    m_workbook.translateHeadings(ResultsWorkbook::Headings::ChangeHistory);
}

void ChangeHistory::placeStrip(const host::WindowGeometry& arranged, double width)
{
    m_host.activateWorkbook(m_inputs.historyName);
    m_workbook.placeStrip(arranged, width, m_inputs.settings.toolbarRows);
}

bool ChangeHistory::finish()
{
    const QString& history = m_inputs.historyName;
    m_ui.setProgressCaption(QCoreApplication::translate("ChangeHistory", "変更履歴作成中"));
    m_ui.setCancelEnabled(false);
    m_ui.processEvents();
    // Each workbook is left at its first sheet.
    for (const QString& book : {m_inputs.firstName, m_inputs.secondName, history}) {
        m_host.activateWorkbook(book);
        m_host.activateSheet(book, 1);
    }

    m_state.stage = Stage::NameHistory;
    // A name the office refuses leaves the template's.
    const QString sheetName = changeHistorySheetName(m_inputs.firstName, m_inputs.secondName);
    const int sheets = recordSheetCount();
    for (int s = 1; s <= sheets; ++s) {
        run::callIgnoringFailure(
            [&] { m_host.setSheetName(history, s, run::RecordSheets::sheetName(sheetName, s)); });
    }

    for (int s = 1; m_inputs.settings.recordsKinds() && s <= sheets; ++s) {
        m_host.writeRows(history, s, 1, 7,
                         {{QCoreApplication::translate("ChangeHistory", "ファイル2のセル"),
                           QCoreApplication::translate("ChangeHistory", "変更の種類")}});
    }

    m_state.stage = Stage::MarkHistory;
    const std::optional<host::CellPosition> last = m_workbook.measure(m_ui, m_password);
    if (!last)
        return false;
    m_state.cell = *last;
    m_workbook.mark(*last, m_state.nextHistoryRow(), m_inputs.byValue() ? 6 : 4);
    markFurtherSheets(sheets, last->column);

    m_state.stage = Stage::AnnotateAndSaveHistory;
    writeNotes(sheetName);
    m_host.deleteSheet(history, QStringLiteral("Grep結果"));
    m_workbook.save();
    m_state.previousHistory.drop();

    m_state.stage = Stage::ShowOffice;
    m_host.setVisible(true);

    m_state.stage = Stage::HandOver;
    m_host.handOver();
    return true;
}

// The sheets past the first are marked as the first is: their extent is known without asking.
void ChangeHistory::markFurtherSheets(int sheets, int columns)
{
    const int records = m_state.nextHistoryRow() - 2;
    const int sheetRows = m_inputs.settings.historySheetRows;
    for (int s = 2; s <= sheets; ++s) {
        const int lastRow =
            s < sheets ? sheetRows : run::RecordSheets::placeOf(records, sheetRows).row;
        m_workbook.mark({lastRow, columns}, m_state.nextHistoryRow(), m_inputs.byValue() ? 6 : 4,
                        s);
    }
}

int ChangeHistory::recordSheetCount() const
{
    const int records = m_state.nextHistoryRow() - 2;
    return records < 1
               ? 1
               : run::RecordSheets::placeOf(records, m_inputs.settings.historySheetRows).sheet;
}

void ChangeHistory::writeNotes(const QString& sheetName)
{
    // Notes follow the last record, on the sheet where the next record would go; those that
    // would run past the rows a sheet of the saved file holds start a sheet of their own, as
    // when the records fill their sheet.
    const int sheetRows = m_inputs.settings.historySheetRows;
    const DiffBudget& budget = m_state.budget;
    const int noteRows = (m_state.sheets().sawHiddenSheet ? 1 : 0) + (budget.exceeded() ? 3 : 0);
    if (noteRows == 0)
        return;
    // The blank row, then the notes.
    const run::RecordSheets::Place next = run::RecordSheets::placeOfRowsTogether(
        m_state.nextHistoryRow() - 1, 1 + noteRows, sheetRows);
    m_notesPlace = {next.sheet, m_state.nextHistoryRow() - next.row};
    run::RecordSheets(m_host, m_inputs.historyName, sheetRows, files::kTemplateSheets[0])
        .reach(next);
    if (next.sheet > recordSheetCount()) {
        run::callIgnoringFailure([&] {
            m_host.setSheetName(m_inputs.historyName, next.sheet,
                                run::RecordSheets::sheetName(sheetName, next.sheet));
        });
    }
    // After the blank row; the notes of the budget after the hidden-sheet note.
    int row = m_state.nextHistoryRow();
    if (m_state.sheets().sawHiddenSheet) {
        row += 1;
        note(row,
             QCoreApplication::translate(
                 "ChangeHistory", "非表示のシートがありました。非表示シートは比較していません。"));
    }
    if (budget.exceeded()) {
        note(row + 1, QCoreApplication::translate(
                          "ChangeHistory", "ファイルが大きすぎて、全て比較できませんでした。"));
        note(row + 2, budget.cutShortNote());
        note(row + 3, budget.lastSheetCompared());
    }
}

void ChangeHistory::note(int row, const QString& text)
{
    m_host.activateWorkbook(m_inputs.historyName);
    m_workbook.writeNote(row - m_notesPlace.rowShift, text, m_notesPlace.sheet);
}

} // namespace brelix::compare
