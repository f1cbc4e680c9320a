#include "core/search/SearchRun.h"

#include "core/files/ProgramFiles.h"
#include "core/host/HostError.h"
#include "core/run/JobOffice.h"
#include "core/run/ResultsWorkbook.h"
#include "core/run/UsedExtent.h"
#include "core/search/SearchResults.h"
#include "core/search/SheetSearcher.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace brelix::search {

using host::HostError;
using run::kCrLf;
using run::MessageIcon;

namespace {

QString stopped()
{
    return QCoreApplication::translate("SearchRun", "検索を中止しました");
}

QString stoppedTitle()
{
    return QCoreApplication::translate("SearchRun", "ユーザ中止要求");
}

// Blanks only, as the search box's text is trimmed; tabs belong to the text.
QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

SearchOutcome SearchRun::start(const SearchSettings& settings,
                               const std::function<void()>& accepted)
{
    if (trimBlanks(settings.searchText).isEmpty()) {
        message(QCoreApplication::translate("SearchRun", "検索文字を入れてよ"),
                QCoreApplication::translate("SearchRun", "検索中止"), MessageIcon::Information);
        return {SearchEnding::EmptyText, {}, {}};
    }
    if (accepted)
        accepted();
    return run(settings);
}

SearchOutcome SearchRun::run(const SearchSettings& settings)
{
    m_state = SearchRunState();
    m_state.settings = settings;
    m_state.selectedCount = static_cast<int>(settings.targets.size());
    if (const std::optional<SearchEnding> refused = refusal())
        return {*refused, {}, {}};

    run::JobOffice::showStarting(m_ui);
    m_state.searchText = trimBlanks(settings.searchText);
    if (!settings.caseSensitive)
        m_state.searchText = m_state.searchText.toUpper();
    if (!prepareFiles()) {
        m_ui.closeProgress();
        return {SearchEnding::Failed, {}, {}};
    }

    m_hosts = std::make_unique<SearchHosts>(m_factory);
    m_ui.setProgressBarVisible(true);
    m_ui.setCancelEnabled(true);
    m_ui.processEvents();
    SearchEnding ending = searchWorkbooks();
    if (ending == SearchEnding::Finished) {
        SearchResults results(*m_hosts, m_ui, m_state, m_password, *m_hitFile);
        ending = results.build();
        if (ending == SearchEnding::PasswordFailed) {
            m_host = results.takeHost();
            ending = passwordEnd();
        }
    }
    tellSkippedFiles();
    m_host.reset();
    m_hosts.reset();
    m_hitFile.reset();
    return {ending, m_state.hits, m_state.skippedFiles};
}

std::optional<SearchEnding> SearchRun::refusal()
{
    if (m_state.selectedCount == 0) {
        message(QCoreApplication::translate("SearchRun", "対象ファイルを選択して下さい"),
                QCoreApplication::translate("SearchRun", "選択無し"), MessageIcon::None);
        return SearchEnding::NoSelection;
    }
    // Without the template there would be no results workbook to write into.
    // Nor in a template that is no BIFF8 workbook with its two sheets.
    if (const auto problem = run::ResultsWorkbook::templateProblem(m_state.settings.templatePath)) {
        message(run::ResultsWorkbook::templateProblemText(*problem),
                QCoreApplication::translate("SearchRun", "実行不可能"), MessageIcon::Exclamation);
        return SearchEnding::MissingTemplate;
    }
    if (run::JobOffice::refuseWhileHandedOverOpen(m_ui, m_factory))
        return SearchEnding::OfficeOpen;
    return std::nullopt;
}

// The hit file, and the assurance that the results workbook can be made from the template
// once there are results; a run that could not write them would end in results that are not
// there, so it stops here and says why. The previous results stay until then.
bool SearchRun::prepareFiles()
{
    const SearchSettings& settings = m_state.settings;
    m_hitFile = std::make_unique<HitFile>(settings.hitFilePath);
    if (!m_hitFile->create()) {
        message(QCoreApplication::translate("SearchRun", "%1 を作成できません")
                    .arg(QFileInfo(settings.hitFilePath).fileName()),
                QCoreApplication::translate("SearchRun", "実行不可能"), MessageIcon::Exclamation);
        return false;
    }
    if (!run::ResultsWorkbook::canReplace(settings.outputPath)) {
        m_hitFile->close();
        removeHitFile();
        message(QCoreApplication::translate("SearchRun", "%1 を作成できません")
                    .arg(QFileInfo(settings.outputPath).fileName()),
                QCoreApplication::translate("SearchRun", "実行不可能"), MessageIcon::Exclamation);
        return false;
    }
    return true;
}

SearchEnding SearchRun::searchWorkbooks()
{
    for (const SearchTarget& target : m_state.settings.targets) {
        m_state.workbookNumber += 1;
        if (const std::optional<SearchEnding> ended = searchWorkbook(target))
            return *ended;
    }
    return SearchEnding::Finished;
}

// An office that dies while it reads a file says nothing of the file: what that office found
// is dropped and the file is read once more in a fresh one.
std::optional<SearchEnding> SearchRun::searchWorkbook(const SearchTarget& target)
{
    const SearchRunState before = m_state;
    const qint64 hitFileEnd = m_hitFile->end();
    std::optional<SearchEnding> ended = readWorkbook(target);
    if (!ended && m_state.officeDied) {
        m_state = before;
        m_hitFile->cutBackTo(hitFileEnd);
        ended = readWorkbook(target);
    }
    return ended;
}

std::optional<SearchEnding> SearchRun::readWorkbook(const SearchTarget& target)
{
    m_state.officeDied = false;
    m_state.currentFile = target.fileName;
    m_state.cellsOfWorkbook = 0;
    m_state.cutShortNote.clear();
    m_state.lastSheetSearched.clear();
    try {
        m_host = m_hosts->take();
    } catch (const HostError&) {
        if (m_ui.cancelRequested())
            return cancelEnd();    // a cancel ended the office: the file is not unreadable
        m_state.officeDied = true; // an office that never came says nothing of the file
        m_state.skip(target.fileName);
        return std::nullopt;
    }
    QString book;
    try {
        book = m_host->openWorkbook(target.path);
    } catch (const HostError& e) {
        const std::optional<SearchEnding> ended = readFailed(e);
        if (!ended)
            m_hosts->giveBack(std::move(m_host));
        return ended;
    }
    if (const std::optional<SearchEnding> ended = searchSheets(book))
        return ended;
    if (m_ui.cancelRequested())
        return cancelEnd();
    closeWorkbook(book);
    return std::nullopt;
}

std::optional<SearchEnding> SearchRun::searchSheets(const QString& book)
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
            return passwordEnd();
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
        SheetSearcher(*m_host, m_ui, m_state, *m_hitFile).search(book, s, sheetName, *extent);
    }
    return std::nullopt;
}

// The sheet's name (empty when the office does not give it) and the progress caption for it.
QString SearchRun::showSheet(const QString& book, int sheet, int count)
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

void SearchRun::closeWorkbook(const QString& book)
{
    run::callIgnoringFailure([&] { m_host->closeWorkbook(book); });
    m_hosts->giveBack(std::move(m_host));
}

// A cancel that ended the office ends the search; any other failure skips the file being read
// (to be read again when its office died).
std::optional<SearchEnding> SearchRun::readFailed(const HostError& failure)
{
    if (m_ui.cancelRequested())
        return cancelEnd();
    m_state.noteFailure(failure);
    m_state.skip(m_state.currentFile);
    return std::nullopt;
}

SearchEnding SearchRun::cancelEnd()
{
    m_hitFile->close();
    m_ui.closeProgress();
    run::JobOffice::quitIgnoringFailure(std::move(m_host));
    message(stopped(), stoppedTitle(), MessageIcon::Information);
    removeHitFile();
    return SearchEnding::Cancelled;
}

SearchEnding SearchRun::passwordEnd()
{
    m_hitFile->close();
    m_ui.closeProgress();
    run::JobOffice::quitIgnoringFailure(std::move(m_host));
    m_state.previousResults.restore();
    message(stopped() + kCrLf +
                QCoreApplication::translate("SearchRun", "Sheet のパスワードエラーです"),
            stoppedTitle(), MessageIcon::Information);
    removeHitFile();
    return SearchEnding::PasswordFailed;
}

// Files the office could not open or read are named at the end instead of vanishing.
void SearchRun::tellSkippedFiles()
{
    if (m_state.skippedFiles.isEmpty())
        return;
    message(QCoreApplication::translate(
                "SearchRun", "次のファイルは開けないか読めないため、検索できませんでした") +
                kCrLf + kCrLf + m_state.skippedFiles.join(kCrLf),
            QCoreApplication::translate("SearchRun", "検索できないファイル"),
            MessageIcon::Exclamation);
}

void SearchRun::removeHitFile()
{
    if (!m_state.settings.keepHitFile)
        QFile::remove(m_state.settings.hitFilePath);
}

void SearchRun::message(const QString& text, const QString& title, MessageIcon icon)
{
    m_ui.showMessage({text, title, icon, run::MessageButtons::Ok, false});
}

} // namespace brelix::search
