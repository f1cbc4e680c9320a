#include "core/compare/FolderHistory.h"

#include "core/compare/ChangeHistory.h"
#include "core/compare/DiffRules.h"
#include "core/run/RecordSheets.h"
#include "core/run/ResultsWorkbook.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace brelix::compare {

using run::ResultsWorkbook;

namespace {

// The summary's columns; the template's heading row has six cells.
QVariantList summaryHeading()
{
    return {u"No"_s,
            QCoreApplication::translate("FolderHistory", "ファイル"),
            QCoreApplication::translate("FolderHistory", "状態"),
            QCoreApplication::translate("FolderHistory", "差分数"),
            QCoreApplication::translate("FolderHistory", "備考"),
            QString()};
}
constexpr int kSummaryColumns = 5;
// The columns of a change history's records with the file after the number.
QVariantList recordHeading(bool kinds)
{
    QVariantList heading{u"No"_s,
                         QCoreApplication::translate("FolderHistory", "ファイル"),
                         QCoreApplication::translate("ResultsWorkbook", "シート名"),
                         QCoreApplication::translate("ResultsWorkbook", "シートNo"),
                         QCoreApplication::translate("ResultsWorkbook", "セル"),
                         QCoreApplication::translate("ResultsWorkbook", "ファイル1"),
                         QCoreApplication::translate("ResultsWorkbook", "ファイル2")};
    if (kinds)
        heading << QCoreApplication::translate("ChangeHistory", "ファイル2のセル")
                << QCoreApplication::translate("ChangeHistory", "変更の種類");
    return heading;
}
constexpr int kRecordSheet = 2; // the template's second sheet, after the summary

} // namespace

QString FolderHistory::statusCaption(FileStatus status)
{
    switch (status) {
    case FileStatus::Same:
        return QCoreApplication::translate("FolderHistory", "一致");
    case FileStatus::Changed:
        return QCoreApplication::translate("FolderHistory", "変更あり");
    case FileStatus::Added:
        return QCoreApplication::translate("FolderHistory", "追加");
    case FileStatus::Removed:
        return QCoreApplication::translate("FolderHistory", "削除");
    case FileStatus::Failed:
        break;
    }
    return QCoreApplication::translate("FolderHistory", "比較失敗");
}

void FolderHistory::write(const QList<FileResult>& files)
{
    make();
    writeSummary(files);
    const int records = writeRecords(files);
    nameAndMark(int(files.size()), records);

    m_state.stage = Stage::AnnotateAndSaveHistory;
    ResultsWorkbook(m_host, m_inputs.historyName, run::HostFailures::PassThrough).save();
    m_state.previousHistory.drop();
    m_state.stage = Stage::ShowOffice;
    m_host.setVisible(true);
    m_state.stage = Stage::HandOver;
    m_host.handOver();
}

void FolderHistory::make()
{
    m_state.stage = Stage::SheetsCompared;
    m_ui.setProgressCaption(QCoreApplication::translate("ChangeHistory", "変更履歴作成中"));
    m_ui.setCancelEnabled(false);
    m_ui.processEvents();
    ChangeHistory::copyTemplate(m_state);
    ChangeHistory::makeWritable(m_inputs);
    // Named after its file, as the run named it.
    m_host.openWorkbook(m_inputs.settings.outputPath);
}

void FolderHistory::writeSummary(const QList<FileResult>& files)
{
    QList<QVariantList> rows{summaryHeading()};
    for (const FileResult& file : files) {
        QVariant count = QString();
        if (file.status == FileStatus::Same || file.status == FileStatus::Changed)
            count = int(file.records.size());
        rows.append({int(rows.size()), file.path, statusCaption(file.status), count,
                     QString(file.note).replace(u'\n', u"　"_s)});
    }
    m_host.writeRows(m_inputs.historyName, 1, 1, 1, rows);
    // After a blank row, the two folders.
    ResultsWorkbook workbook(m_host, m_inputs.historyName, run::HostFailures::PassThrough);
    const int row = int(files.size()) + 3;
    workbook.writeNote(row, QCoreApplication::translate("FolderHistory", "フォルダ1: ") +
                                m_inputs.settings.firstPath);
    workbook.writeNote(row + 1, QCoreApplication::translate("FolderHistory", "フォルダ2: ") +
                                    m_inputs.settings.secondPath);
}

int FolderHistory::writeRecords(const QList<FileResult>& files)
{
    const bool kinds = m_inputs.settings.recordsKinds();
    m_host.writeRows(m_inputs.historyName, kRecordSheet, 1, 1, {recordHeading(kinds)});
    QList<QVariantList> rows;
    for (const FileResult& file : files) {
        for (const DiffRecord& record : file.records) {
            QVariantList row = kinds ? record.alignedRow() : record.row();
            row.insert(1, file.path);
            rows.append(row);
        }
    }
    m_state.stage = Stage::RecordDifference;
    run::RecordSheets(m_host, m_inputs.historyName, m_inputs.settings.historySheetRows,
                      files::kTemplateSheets[0], kRecordSheet)
        .write(1, rows);
    return int(rows.size());
}

void FolderHistory::nameAndMark(int fileCount, int records)
{
    m_state.stage = Stage::NameHistory;
    const QString& book = m_inputs.historyName;
    const QString& first = m_inputs.firstName;
    const QString& second = m_inputs.secondName;
    const int sheetRows = m_inputs.settings.historySheetRows;
    const int sheets = records < 1 ? 1 : run::RecordSheets::placeOf(records, sheetRows).sheet;
    run::callIgnoringFailure([&] {
        m_host.setSheetName(
            book, 1,
            resultSheetName(QCoreApplication::translate("FolderHistory", "一覧　"), first, second));
    });
    const QString recordsName = resultSheetName(u"変更履歴　"_s, first, second);
    for (int s = 1; s <= sheets; ++s) {
        run::callIgnoringFailure([&] {
            m_host.setSheetName(book, kRecordSheet + s - 1,
                                run::RecordSheets::sheetName(recordsName, s));
        });
    }

    m_state.stage = Stage::MarkHistory;
    const int fill = m_inputs.byValue() ? 6 : 4;
    ResultsWorkbook workbook(m_host, book, run::HostFailures::PassThrough);
    workbook.mark({fileCount + 1, kSummaryColumns}, fileCount + 2, fill, 1);
    const int columns = int(recordHeading(m_inputs.settings.recordsKinds()).size());
    for (int s = 1; s <= sheets; ++s) {
        const int lastRow =
            s < sheets ? sheetRows : run::RecordSheets::placeOf(records, sheetRows).row;
        workbook.mark({records < 1 ? 1 : lastRow, columns}, records + 2, fill,
                      kRecordSheet + s - 1);
    }
}

} // namespace brelix::compare
