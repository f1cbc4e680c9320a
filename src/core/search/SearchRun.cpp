#include "core/search/SearchRun.h"

#include "core/files/ProgramFiles.h"
#include "core/host/HostError.h"
#include "core/run/JobOffice.h"
#include "core/run/ResultsTurn.h"
#include "core/run/ResultsWorkbook.h"
#include "core/search/SearchResults.h"
#include "core/search/WorkbookSearch.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <mutex>

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
    // A run leaving its results in the same folder finishes first.
    run::ResultsTurn turn(settings.outputPath);
    if (!turn.take(m_ui)) {
        m_ui.closeProgress();
        message(stopped(), stoppedTitle(), MessageIcon::Information);
        return {SearchEnding::Cancelled, {}, {}};
    }
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
    m_parallel.reset();
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
    const int offices = std::min(m_offices, m_state.selectedCount);
    if (m_plainFactory && offices > 1)
        return searchInParallel(offices);
    for (const SearchTarget& target : m_state.settings.targets) {
        m_state.workbookNumber += 1;
        WorkbookSearch workbook(*m_hosts, m_ui, m_password, m_state, m_hitFile.get());
        if (const std::optional<SearchEnding> ended = workbook.search(target))
            return endHere(*ended, workbook.takeHost());
    }
    return SearchEnding::Finished;
}

// Each worker searches whole workbooks in an office of its own, each into a state of its own;
// this thread takes them in list order, numbers their hits and writes the hit file, so that
// hits, skipped files, progress and questions come as one office would have given them.
SearchEnding SearchRun::searchInParallel(int offices)
{
    const SearchRunState start = m_state; // read by the workers while this thread goes on
    const QString password = m_password;
    std::mutex mutex;
    std::vector<std::shared_ptr<SearchHosts>> workerHosts;
    const auto makeWorker = [&](host::SpreadsheetHostFactory& office, run::WorkerRunUi& ui) {
        auto hosts = std::make_shared<SearchHosts>(office);
        {
            const std::lock_guard lock(mutex);
            workerHosts.push_back(hosts);
        }
        return std::function([&start, &ui, hosts, typed = password](int item) mutable {
            SearchedWorkbook searched;
            searched.state.settings = start.settings;
            searched.state.searchText = start.searchText;
            searched.state.selectedCount = start.selectedCount;
            searched.state.workbookNumber = item + 1;
            WorkbookSearch workbook(*hosts, ui, typed, searched.state, nullptr);
            searched.ending = workbook.search(start.settings.targets[item]);
            run::JobOffice::quitIgnoringFailure(workbook.takeHost());
            return searched;
        });
    };
    m_parallel = std::make_unique<run::ParallelItems<SearchedWorkbook>>(*m_plainFactory, m_ui);
    std::optional<SearchEnding> ended;
    const bool finished = m_parallel->run(m_state.selectedCount, offices, makeWorker,
                                          [&](int, SearchedWorkbook& searched) {
                                              takeWorkbook(searched.state);
                                              ended = searched.ending;
                                              return !ended;
                                          });
    if (const std::optional<QString> typed = m_parallel->typedPassword())
        m_password = *typed;
    keepOneIdleOffice(workerHosts, finished && !ended);
    if (ended)
        return endHere(*ended, nullptr);
    return finished ? SearchEnding::Finished : cancelEnd();
}

// One idle office makes the results, as the last searched workbook's office would; the others
// end, or go back to their pool after a search that went well.
void SearchRun::keepOneIdleOffice(std::vector<std::shared_ptr<SearchHosts>>& workerHosts,
                                  bool wentWell)
{
    for (const std::shared_ptr<SearchHosts>& hosts : workerHosts)
        if (std::unique_ptr<host::SpreadsheetHost> idle = hosts->takeIdle()) {
            m_hosts->giveBack(std::move(idle));
            break;
        }
    for (const std::shared_ptr<SearchHosts>& hosts : workerHosts)
        hosts->finish(wentWell);
    workerHosts.clear();
}

void SearchRun::takeWorkbook(const SearchRunState& searched)
{
    for (HitRecord hit : searched.hits) {
        hit.number = m_state.nextHitRow - 1;
        m_hitFile->append(hit);
        m_state.hits.append(hit);
        m_state.nextHitRow += 1;
    }
    for (const QString& file : searched.skippedFiles)
        m_state.skip(file);
    m_state.tooLarge += searched.tooLarge;
}

SearchEnding SearchRun::endHere(SearchEnding ending, std::unique_ptr<host::SpreadsheetHost> host)
{
    m_host = std::move(host);
    return ending == SearchEnding::Cancelled ? cancelEnd() : passwordEnd();
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
