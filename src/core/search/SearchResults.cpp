#include "core/search/SearchResults.h"

#include "core/host/HostError.h"
#include "core/run/UsedExtent.h"

#include <QFile>
#include <QFileInfo>
#include <chrono>

namespace brelix::search {

using host::HostError;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

template <typename Call> void quietly(Call&& call)
{
    try {
        call();
    } catch (const HostError&) {
    }
}

} // namespace

SearchEnding SearchResults::build()
{
    try {
        m_host = m_hosts.take();
    } catch (const HostError& e) {
        return fail(e.description());
    }
    quietly([&] { m_host->setBusyTimeout(std::chrono::milliseconds(600000)); });
    try {
        m_output = m_host->openWorkbook(m_state.settings.outputPath);
    } catch (const HostError& e) {
        return fail(e.description());
    }
    quietly([&] { m_host->setVisible(false); });
    quietly([&] { m_host->setMaximized(true); });
    quietly([&] { m_host->deleteSheet(m_output, QStringLiteral("変更履歴")); });

    host::WindowGeometry arranged;
    quietly([&] { m_host->arrangeWindows(host::WindowArrangement::SideBySide); });
    quietly([&] { arranged = m_host->windowGeometry(m_output); });
    const double toolbars = m_state.settings.toolBarRows * 19.5;
    quietly([&] {
        m_host->setWindowGeometry(
            m_output, {arranged.height - 143 - toolbars, arranged.left, arranged.width, 128});
    });

    m_hitFile.close();
    writeRowsAndOpenBooks(arranged);

    m_ui.setProgressCaption(QStringLiteral("検索結果作成中"));
    m_ui.setCancelEnabled(false);
    m_ui.processEvents();
    quietly([&] { m_host->activateWorkbook(m_output); });
    quietly([&] { m_host->activateSheet(m_output, 1); });
    quietly([&] { m_host->selectRange(m_output, 1, {{1, 1}, {1, 1}}); });
    std::optional<host::CellPosition> extent;
    try {
        extent = compare::usedExtent(*m_host, m_ui, m_password, m_output, 1);
    } catch (const HostError& e) {
        return fail(e.description());
    }
    if (!extent)
        return SearchEnding::PasswordFailed;
    mark(extent->row, extent->column);
    writeNotice();

    quietly([&] { m_host->selectRange(m_output, 1, {{2, 1}, {2, 1}}); });
    try {
        m_host->saveWorkbook(m_output);
    } catch (const HostError& e) {
        return fail(e.description());
    }
    // Only now: until the results are saved, the hit file is all the user has of them.
    if (!m_state.settings.keepHitFile)
        QFile::remove(m_hitFile.path());
    quietly([&] { m_host->setVisible(true); });
    quietly([&] { m_host->handOver(); });
    m_host.reset();
    m_ui.closeProgress();

    if (!m_state.cutShort())
        return SearchEnding::Finished;
    m_ui.processEvents();
    m_ui.showMessage({QStringLiteral("ファイルが大きすぎて、全て検索できませんでした") + kCrLf +
                          kCrLf + m_state.reachedText + kCrLf + m_state.reachedSheet,
                      QStringLiteral("比較中止"), run::MessageIcon::Exclamation,
                      run::MessageButtons::Ok, true});
    return SearchEnding::CutShort;
}

// One results row per hit record, written in one call; each workbook with hits opens at its
// first record, above the results strip.
void SearchResults::writeRowsAndOpenBooks(const host::WindowGeometry& arranged)
{
    const double toolbars = m_state.settings.toolBarRows * 19.5;
    QList<QVariantList> rows;
    QString lastOpened;
    for (const QStringList& fields : HitFile::read(m_hitFile.path())) {
        QVariantList row;
        for (const QString& field : fields)
            row.append(field);
        rows.append(row);
        m_rowCounter += 1;
        if (fields[1] == lastOpened)
            continue;
        lastOpened = fields[1];
        for (const SearchTarget& target : m_state.settings.targets) {
            if (target.fileName != lastOpened)
                continue;
            quietly([&] {
                const QString book = m_host->openWorkbook(target.path);
                quietly([&] { m_host->activateSheet(book, 1); });
                m_host->setWindowGeometry(book, {arranged.top, arranged.left, arranged.width,
                                                 arranged.height - 146 - toolbars});
            });
            break;
        }
    }
    if (!rows.isEmpty())
        quietly([&] { m_host->writeRows(m_output, 1, 2, 1, rows); });
}

void SearchResults::mark(int rows, int columns)
{
    if (rows > 2) {
        quietly([&] { m_host->selectRange(m_output, 1, {{2, 1}, {rows, columns}}); });
        quietly([&] { m_host->drawGrid(m_output, 1, {{2, 1}, {rows, columns}}); });
        quietly([&] { m_host->selectRange(m_output, 1, {{2, 1}, {rows, 1}}); });
        quietly([&] { m_host->fillRange(m_output, 1, {{2, 1}, {rows, 1}}, 6); });
    } else if (rows == 2 && m_rowCounter != 2) {
        quietly([&] { m_host->selectRange(m_output, 1, {{2, 1}, {2, 1}}); });
        quietly([&] { m_host->fillRange(m_output, 1, {{2, 1}, {2, 1}}, 6); });
    }
}

void SearchResults::writeNotice()
{
    if (!m_state.cutShort())
        return;
    const QStringList lines{QStringLiteral("ファイルが大きすぎて、全て検索できませんでした。"),
                            m_state.reachedText, m_state.reachedSheet};
    for (int i = 0; i < lines.size(); ++i) {
        quietly([&] { m_host->setCellValue(m_output, 1, m_rowCounter + i, 2, lines[i]); });
        quietly([&] { m_host->setWrapText(m_output, 1, m_rowCounter + i, 2, false); });
    }
}

// The results cannot be made: the hits stay in the hit file, and the user is told where.
SearchEnding SearchResults::fail(const QString& reason)
{
    m_hitFile.close();
    m_ui.closeProgress();
    SearchHosts::quitQuietly(std::move(m_host));
    m_ui.showMessage({QStringLiteral("検索結果を作成できませんでした") + kCrLf + reason + kCrLf +
                          kCrLf +
                          QStringLiteral("見つかった箇所は %1 にあります")
                              .arg(QFileInfo(m_hitFile.path()).fileName()),
                      QStringLiteral("検索結果作成不可"), run::MessageIcon::Exclamation,
                      run::MessageButtons::Ok, false});
    return SearchEnding::Failed;
}

} // namespace brelix::search
