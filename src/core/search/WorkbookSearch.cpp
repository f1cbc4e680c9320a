#include "core/search/WorkbookSearch.h"

#include "core/run/HostFailures.h"
#include "core/run/UsedExtent.h"
#include "core/search/SheetSearcher.h"

#include <QCoreApplication>

namespace brelix::search {

using host::HostError;

// An office that dies while it reads a file says nothing of the file: what that office found
// is dropped and the file is read once more in a fresh one.
std::optional<SearchEnding> WorkbookSearch::search(const SearchTarget& target)
{
    const SearchRunState before = m_state;
    const qint64 hitFileEnd = m_hitFile ? m_hitFile->end() : 0;
    std::optional<SearchEnding> ended = readWorkbook(target);
    if (!ended && m_state.officeDied) {
        m_state = before;
        if (m_hitFile)
            m_hitFile->cutBackTo(hitFileEnd);
        ended = readWorkbook(target);
    }
    return ended;
}

std::optional<SearchEnding> WorkbookSearch::readWorkbook(const SearchTarget& target)
{
    m_state.officeDied = false;
    m_state.currentFile = target.fileName;
    m_state.cellsOfWorkbook = 0;
    m_state.cutShortNote.clear();
    m_state.lastSheetSearched.clear();
    try {
        m_host = m_hosts.take();
    } catch (const HostError&) {
        if (m_ui.cancelRequested())
            return SearchEnding::Cancelled; // a cancel ended the office: the file is not unreadable
        m_state.officeDied = true;          // an office that never came says nothing of the file
        m_state.skip(target.fileName);
        return std::nullopt;
    }
    QString book;
    try {
        book = m_host->openWorkbookUnseen(target.path);
    } catch (const HostError& e) {
        const std::optional<SearchEnding> ended = readFailed(e);
        if (!ended)
            m_hosts.giveBack(std::move(m_host));
        return ended;
    }
    if (const std::optional<SearchEnding> ended = searchSheets(book))
        return ended;
    if (m_ui.cancelRequested())
        return SearchEnding::Cancelled;
    closeWorkbook(book);
    return std::nullopt;
}

std::optional<SearchEnding> WorkbookSearch::searchSheets(const QString& book)
{
    int count = 0;
    try {
        m_host->activateWorkbook(book);
        count = m_host->sheetCount(book);
    } catch (const HostError& e) {
        return readFailed(e);
    }
    for (int s = 1; s <= count; ++s) {
        const QString sheetName = showSheet(book, s, count);
        std::optional<host::CellPosition> extent;
        try {
            extent = run::usedExtent(*m_host, m_ui, m_password, book, s);
        } catch (const HostError& e) {
            return readFailed(e); // an office that fails here fails the rest too
        }
        if (!extent)
            return SearchEnding::PasswordFailed;
        m_ui.processEvents();

        m_state.cellsOfWorkbook += qint64(extent->row) * extent->column;
        if (m_state.overLimit()) {
            m_state.cutShortHere();
            break;
        }
        m_state.cutShortNote =
            QCoreApplication::translate("SearchRun", "以下のシートまでは検索できました");
        m_state.lastSheetSearched =
            QCoreApplication::translate("SearchRun", "シートNo=%1  /  シート名=%2")
                .arg(s)
                .arg(sheetName);
        SheetSearcher(*m_host, m_ui, m_state, m_hitFile).search(book, s, sheetName, *extent);
    }
    return std::nullopt;
}

// The sheet's name (empty when the office does not give it) and the progress caption for it.
QString WorkbookSearch::showSheet(const QString& book, int sheet, int count)
{
    QString sheetName;
    run::callIgnoringFailure([&] { m_host->activateWorkbook(book); });
    run::callIgnoringFailure([&] { m_host->activateSheet(book, sheet); });
    run::callIgnoringFailure([&] { sheetName = m_host->sheetName(book, sheet); });
    m_ui.setProgressCaption(QCoreApplication::translate("SearchRun", "検索中-F=%1/%2:%3:S=%4/%5")
                                .arg(m_state.workbookNumber)
                                .arg(m_state.selectedCount)
                                .arg(m_state.currentFile)
                                .arg(sheet)
                                .arg(count));
    return sheetName;
}

void WorkbookSearch::closeWorkbook(const QString& book)
{
    run::callIgnoringFailure([&] { m_host->closeWorkbook(book); });
    m_hosts.giveBack(std::move(m_host));
}

// A cancel that ended the office ends the search; any other failure skips the file being read
// (to be read again when its office died).
std::optional<SearchEnding> WorkbookSearch::readFailed(const HostError& failure)
{
    if (m_ui.cancelRequested())
        return SearchEnding::Cancelled;
    m_state.noteFailure(failure);
    m_state.skip(m_state.currentFile);
    return std::nullopt;
}

} // namespace brelix::search
