#include "core/search/SearchResults.h"

#include "core/files/ProgramFiles.h"
#include "core/host/HostError.h"
#include "core/run/JobOffice.h"
#include "core/run/RecordSheets.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace brelix::search {

using host::HostError;
using run::callIgnoringFailure;
using run::kCrLf;
using run::RecordSheets;

namespace {

// Rows written a call, so that a long list never sits whole in memory twice.
constexpr qsizetype kRowsPerWrite = 10000;

} // namespace

SearchEnding SearchResults::build()
{
    QString failure;
    if (!open(failure))
        return fail(failure);

    m_ui.setProgressCaption(QCoreApplication::translate("SearchResults", "検索結果作成中"));
    m_ui.setCancelEnabled(false);
    m_ui.processEvents();
    callIgnoringFailure([&] { m_host->activateWorkbook(m_book); });
    callIgnoringFailure([&] { m_host->activateSheet(m_book, 1); });
    std::optional<host::CellPosition> extent;
    try {
        extent = m_results->measure(m_ui, m_password);
    } catch (const HostError& e) {
        return fail(e.description());
    }
    if (!extent)
        return SearchEnding::PasswordFailed;
    m_results->mark(*extent, m_nextRow, 6);
    markFurtherSheets();
    writeNotice();
    try {
        m_results->save();
    } catch (const HostError& e) {
        return fail(e.description());
    }
    m_state.previousResults.drop();
    return handOver();
}

bool SearchResults::open(QString& failure)
{
    const SearchSettings& settings = m_state.settings;
    m_state.previousResults = run::PreviousResult(settings.outputPath);
    if (!run::ResultsWorkbook::copyTemplate(settings.templatePath, settings.outputPath) ||
        !run::ResultsWorkbook::makeWritable(settings.outputPath)) {
        failure = QStringLiteral("%1 could not be copied to %2")
                      .arg(settings.templatePath, settings.outputPath);
        return false;
    }
    try {
        m_host = m_hosts.take();
        m_book = m_host->openWorkbook(m_state.settings.outputPath);
    } catch (const HostError& e) {
        failure = e.description();
        return false;
    }
    m_results.emplace(*m_host, m_book, run::HostFailures::Ignored);
    callIgnoringFailure([&] { m_host->deleteSheet(m_book, QStringLiteral("変更履歴")); });
    m_results->translateHeadings(run::ResultsWorkbook::Headings::SearchResults);

    host::WindowGeometry arranged;
    callIgnoringFailure([&] { m_host->arrangeWindows(host::WindowArrangement::SideBySide); });
    callIgnoringFailure([&] { arranged = m_host->windowGeometry(m_book); });
    m_results->placeStrip(arranged, arranged.width, m_state.settings.toolbarRows);

    m_hitFile.close();
    writeRowsAndOpenBooks(arranged);
    return true;
}

// One results row per hit record, written in one call; each workbook with hits opens at its
// first record, above the results strip.
void SearchResults::writeRowsAndOpenBooks(const host::WindowGeometry& arranged)
{
    RecordSheets sheets(*m_host, m_book, m_state.settings.resultsSheetRows,
                        files::kTemplateSheets[1]);
    QList<QVariantList> rows;
    int firstSequence = 1;
    const auto write = [&] {
        callIgnoringFailure([&] { sheets.write(firstSequence, rows); });
        firstSequence += static_cast<int>(rows.size());
        rows.clear();
    };
    QString lastOpened;
    for (const QStringList& fields : HitFile::read(m_hitFile.path())) {
        QVariantList row;
        for (const QString& field : fields)
            row.append(field);
        rows.append(row);
        m_nextRow += 1;
        if (fields[1] != lastOpened && m_state.settings.openHitWorkbooks) {
            lastOpened = fields[1];
            openBookOf(lastOpened, arranged);
        }
        if (rows.size() == kRowsPerWrite)
            write();
    }
    if (!rows.isEmpty())
        write();
}

// The sheets past the first are marked as the first is: their extent is known without asking.
void SearchResults::markFurtherSheets()
{
    const int hits = m_nextRow - 2;
    const int sheetRows = m_state.settings.resultsSheetRows;
    const int sheets = hits < 1 ? 1 : RecordSheets::placeOf(hits, sheetRows).sheet;
    for (int s = 2; s <= sheets; ++s) {
        const int lastRow = s < sheets ? sheetRows : RecordSheets::placeOf(hits, sheetRows).row;
        m_results->mark({lastRow, 6}, m_nextRow, 6, s);
    }
}

void SearchResults::openBookOf(const QString& fileName, const host::WindowGeometry& arranged)
{
    for (const SearchTarget& target : m_state.settings.targets) {
        if (target.fileName != fileName)
            continue;
        callIgnoringFailure([&] {
            const QString book = m_host->openWorkbook(target.path);
            callIgnoringFailure([&] { m_host->activateSheet(book, 1); });
            m_host->setWindowGeometry(
                book, run::ResultsWorkbook::aboveStrip(arranged, m_state.settings.toolbarRows));
        });
        return;
    }
}

void SearchResults::writeNotice()
{
    if (!m_state.cutShort())
        return;
    QStringList lines{QCoreApplication::translate(
        "SearchResults", "ファイルが大きすぎて、全て検索できませんでした。")};
    for (const QStringList& book : m_state.tooLarge)
        lines += book;
    // Right after the last hit, on the sheet where the next one would go; at the top of a sheet
    // of its own when it would run past the rows a sheet of the saved file holds.
    const int sheetRows = m_state.settings.resultsSheetRows;
    const RecordSheets::Place next =
        RecordSheets::placeOfRowsTogether(m_nextRow - 1, static_cast<int>(lines.size()), sheetRows);
    callIgnoringFailure(
        [&] { RecordSheets(*m_host, m_book, sheetRows, files::kTemplateSheets[1]).reach(next); });
    for (int i = 0; i < lines.size(); ++i)
        m_results->writeNote(next.row + i, lines[i], next.sheet);
}

SearchEnding SearchResults::handOver()
{
    // Only now: until the results are saved, the hit file is all the user has of them.
    if (!m_state.settings.keepHitFile)
        QFile::remove(m_hitFile.path());
    callIgnoringFailure([&] { m_host->setVisible(true); });
    callIgnoringFailure([&] { m_host->handOver(); });
    m_host.reset();
    m_ui.closeProgress();

    if (!m_state.cutShort())
        return SearchEnding::Finished;
    m_ui.processEvents();
    QStringList books;
    for (const QStringList& book : m_state.tooLarge)
        books.append(book.join(kCrLf));
    m_ui.showMessage({QCoreApplication::translate(
                          "SearchResults", "ファイルが大きすぎて、全て検索できませんでした") +
                          kCrLf + kCrLf + books.join(kCrLf + kCrLf),
                      QCoreApplication::translate("SearchResults", "比較中止"),
                      run::MessageIcon::Exclamation, run::MessageButtons::Ok, true});
    return SearchEnding::CutShort;
}

// The results cannot be made: the hits stay in the hit file, and the user is told where.
SearchEnding SearchResults::fail(const QString& reason)
{
    m_hitFile.close();
    m_ui.closeProgress();
    run::JobOffice::quitIgnoringFailure(std::move(m_host));
    m_state.previousResults.restore();
    m_ui.showMessage(
        {QCoreApplication::translate("SearchResults", "検索結果を作成できませんでした") + kCrLf +
             reason + kCrLf + kCrLf +
             QCoreApplication::translate("SearchResults", "見つかった箇所は %1 にあります")
                 .arg(QFileInfo(m_hitFile.path()).fileName()),
         QCoreApplication::translate("SearchResults", "検索結果作成不可"),
         run::MessageIcon::Exclamation, run::MessageButtons::Ok, false});
    return SearchEnding::Failed;
}

} // namespace brelix::search
