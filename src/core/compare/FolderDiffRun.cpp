#include "core/compare/FolderDiffRun.h"

#include "core/compare/DiffRules.h"
#include "core/compare/ErrorReport.h"
#include "core/compare/FolderHistory.h"
#include "core/compare/WorkbookComparer.h"
#include "core/files/WorkbookKind.h"
#include "core/host/HostError.h"
#include "core/run/JobOffice.h"
#include "core/run/ResultsTurn.h"
#include "core/run/ResultsWorkbook.h"
#include "core/run/RunFailure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <mutex>
#include <optional>

using namespace Qt::StringLiterals;

namespace brelix::compare {

using host::HostError;
using run::MessageIcon;

namespace {

QString aborted()
{
    return QCoreApplication::translate("DiffRun", "ｄｉｆｆを中止しました");
}

void message(run::RunUi& ui, const QString& text, const QString& title, MessageIcon icon)
{
    ui.showMessage({text, title, icon, run::MessageButtons::Ok, false});
}

// What the change history of the pair alone would note.
QString notesOf(const DiffRunState& state)
{
    QStringList notes;
    if (state.sheets().sawHiddenSheet)
        notes << QCoreApplication::translate(
            "ChangeHistory", "非表示のシートがありました。非表示シートは比較していません。");
    if (state.budget.exceeded())
        notes << QCoreApplication::translate("ChangeHistory",
                                             "ファイルが大きすぎて、全て比較できませんでした。")
              << state.budget.cutShortNote() << state.budget.lastSheetCompared();
    notes.removeAll(QString());
    return notes.join(u'\n');
}

} // namespace

FolderDiffRun::~FolderDiffRun()
{
    run::JobOffice::quitIgnoringFailure(std::move(m_host));
}

FileStatus FolderDiffRun::statusOf(const DiffRunState& state)
{
    // A pair cut short is not known to be the same.
    return state.records().isEmpty() && !state.budget.exceeded() ? FileStatus::Same
                                                                 : FileStatus::Changed;
}

FolderDiffOutcome FolderDiffRun::start(const DiffSettings& settings, bool* programEnds,
                                       const FileDone& fileDone)
{
    if (programEnds)
        *programEnds = false;
    m_settings = settings;
    m_settings.firstPath =
        QDir::cleanPath(QFileInfo(settings.firstPath.trimmed()).absoluteFilePath());
    m_settings.secondPath =
        QDir::cleanPath(QFileInfo(settings.secondPath.trimmed()).absoluteFilePath());
    // Nobody sees the workbooks of a folder comparison: each pair closes before the next.
    m_settings.coloursSeen = false;
    using Problem = run::ResultsWorkbook::TemplateProblem;
    if (const auto problem = run::ResultsWorkbook::templateProblem(settings.templatePath)) {
        m_ui.showMessage(refusalMessage(*problem == Problem::Missing
                                            ? DiffRefusal::MissingTemplate
                                            : DiffRefusal::DamagedTemplate));
        if (programEnds)
            *programEnds = true;
        return {DiffEnding::Refused};
    }
    if (const auto refusal = FolderPairing::refusal(m_settings.firstPath, m_settings.secondPath)) {
        m_ui.showMessage(FolderPairing::refusalMessage(*refusal));
        return {DiffEnding::Refused};
    }
    if (!sheetRange(settings.startSheetText, settings.lastSheetText)) {
        message(m_ui, QCoreApplication::translate("DiffRun", "指定シートの設定が異常です"),
                QCoreApplication::translate("DiffRun", "指定シートエラー"),
                MessageIcon::Exclamation);
        return {DiffEnding::Refused};
    }
    if (run::JobOffice::refuseWhileHandedOverOpen(m_ui, m_factory))
        return {DiffEnding::OfficeOpen};
    if (!run::ResultsWorkbook::canReplace(settings.outputPath)) {
        message(m_ui,
                QCoreApplication::translate("DiffRun", "%1 を作成できません")
                    .arg(QFileInfo(settings.outputPath).fileName()),
                QCoreApplication::translate("DiffRun", "実行不可能"), MessageIcon::Exclamation);
        return {DiffEnding::Refused};
    }
    return work(FolderPairing::files(m_settings.firstPath, m_settings.secondPath), fileDone);
}

FolderDiffOutcome FolderDiffRun::work(const QList<FolderFile>& files, const FileDone& fileDone)
{
    FolderDiffOutcome outcome;
    run::JobOffice::showStarting(m_ui);
    // A run leaving its results in the same folder finishes first.
    run::ResultsTurn turn(m_settings.outputPath);
    if (!turn.take(m_ui))
        return {cancel(), {}};
    m_ui.setProgressBarVisible(true);
    m_ui.setCancelEnabled(true);
    m_links = std::make_unique<QTemporaryDir>(QDir::temp().filePath(u"brelix-XXXXXX"_s));
    const int offices = std::min(m_offices, static_cast<int>(files.size()));
    const bool compared = m_plainFactory && offices > 1
                              ? compareInParallel(files, offices, outcome.files, fileDone)
                              : compareInTurn(files, outcome.files, fileDone);
    if (!compared)
        return {cancel(), outcome.files};

    DiffRunState state({.settings = m_settings,
                        .firstName = QFileInfo(m_settings.firstPath).fileName(),
                        .secondName = QFileInfo(m_settings.secondPath).fileName(),
                        .historyName = QFileInfo(m_settings.outputPath).fileName()});
    try {
        state.stage = Stage::StartOffice;
        if (!m_host)
            m_host = run::JobOffice::startHidden(m_factory, run::HostFailures::PassThrough);
        FolderHistory(*m_host, m_ui, state).write(outcome.files);
        m_host.reset(); // handed over
        m_ui.closeProgress();
        outcome.ending = DiffEnding::Finished;
    } catch (const HostError& e) {
        outcome.failure = e.description();
        outcome.ending =
            m_ui.cancelRequested() ? cancel() : fail(state, e.number(), e.description());
    } catch (const run::RunFailure& e) {
        outcome.failure = e.description();
        outcome.ending = fail(state, e.number(), e.description());
    }
    // The office has let go of the unsaved history: the previous one comes back.
    if (outcome.ending != DiffEnding::Finished)
        state.previousHistory.restore();
    return outcome;
}

bool FolderDiffRun::compareInTurn(const QList<FolderFile>& files, QList<FileResult>& results,
                                  const FileDone& fileDone)
{
    for (qsizetype i = 0; i < files.size(); ++i) {
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            return false;
        FileResult result = compareFile({m_factory, m_ui, m_password, m_host}, files[i],
                                        static_cast<int>(i) + 1, static_cast<int>(files.size()));
        if (m_ui.cancelRequested()) // the file was left halfway
            return false;
        results.append(std::move(result));
        if (fileDone)
            fileDone(results.last());
    }
    return true;
}

// Each worker compares whole pairs in an office of its own; this thread takes their results in
// file order, so that lines, records, progress and questions come as one office gives them.
bool FolderDiffRun::compareInParallel(const QList<FolderFile>& files, int offices,
                                      QList<FileResult>& results, const FileDone& fileDone)
{
    const int count = static_cast<int>(files.size());
    std::mutex mutex;
    std::vector<std::shared_ptr<Worker>> workers;
    const auto makeWorker = [&](host::SpreadsheetHostFactory& factory, run::WorkerRunUi& ui) {
        auto worker = std::make_shared<Worker>(Worker{nullptr, m_password});
        {
            const std::lock_guard lock(mutex);
            workers.push_back(worker);
        }
        return std::function([this, &files, &factory, &ui, worker, count](int item) {
            return compareFile({factory, ui, worker->password, worker->office}, files[item],
                               item + 1, count);
        });
    };
    m_parallel = std::make_unique<run::ParallelItems<FileResult>>(*m_plainFactory, m_ui);
    const bool finished = m_parallel->run(count, offices, makeWorker, [&](int, FileResult& result) {
        if (m_ui.cancelRequested()) // the file may have been left halfway
            return false;
        results.append(std::move(result));
        if (fileDone)
            fileDone(results.last());
        return true;
    });
    if (const std::optional<QString> typed = m_parallel->typedPassword())
        m_password = *typed;
    // One idle office writes the history, as the last pair's office would; the others end.
    for (const std::shared_ptr<Worker>& worker : workers) {
        if (!m_host && worker->office)
            m_host = std::move(worker->office);
        run::JobOffice::quitIgnoringFailure(std::move(worker->office));
    }
    return finished;
}

FileResult FolderDiffRun::compareFile(PairPlace place, const FolderFile& file, int number,
                                      int count)
{
    FileResult result{file.path};
    if (!file.problem.isEmpty()) {
        result.note = file.problem;
        return result;
    }
    if (!file.inFirst || !file.inSecond) {
        result.status = file.inFirst ? FileStatus::Removed : FileStatus::Added;
        return result;
    }
    DiffInputs inputs{.settings = m_settings,
                      .range = *sheetRange(m_settings.startSheetText, m_settings.lastSheetText),
                      .historyName = {},
                      .captionPrefix = u"%1/%2 %3  "_s.arg(number).arg(count).arg(file.path)};
    inputs.settings.firstPath = QDir(m_settings.firstPath).filePath(file.path);
    inputs.settings.secondPath = QDir(m_settings.secondPath).filePath(file.path);
    place.ui.setProgressCaption(inputs.captionPrefix);
    comparePair(place, std::move(inputs), result, number);
    return result;
}

void FolderDiffRun::comparePair(PairPlace place, DiffInputs inputs, FileResult& result, int number)
{
    Office& office = place.office;
    QString link;
    std::optional<DiffRunState> state; // made once the pair is open
    try {
        if (!office)
            office = run::JobOffice::startHidden(place.factory, run::HostFailures::PassThrough);
        link = secondWorkbookPath(inputs.settings.secondPath, number);
        const bool unseen = true; // the folder's history tells of the pair
        const QStringList books = office->openWorkbooks({inputs.settings.firstPath, link}, unseen);
        inputs.firstName = books.value(0);
        inputs.secondName = books.value(1);
        // A text file's sheet is named after its file: by name, it must pair with the first's.
        const QString fileName = QFileInfo(inputs.settings.firstPath).fileName();
        if (m_settings.bySheetName &&
            files::WorkbookKind::fromName(fileName) == files::WorkbookKind::Format::Csv)
            office->setSheetName(inputs.secondName, 1, baseName(fileName));
        state.emplace(inputs);
        state->stage = Stage::CountSheets;
        WorkbookComparer comparer(*office, place.ui, *state, place.password);
        if (!comparer.countSheets())
            result.note = QCoreApplication::translate("DiffRun", "シートが不一致です");
        else if (!comparer.limitToRange())
            result.note =
                QCoreApplication::translate("DiffRun", "比較開始シートが全シート数より大きいです");
        else if (comparer.compareSheets() == DiffEnding::PasswordFailed)
            result.note = QCoreApplication::translate("DiffRun", "Sheet のパスワードエラーです");
        else
            result.status = statusOf(*state);
    } catch (const HostError& e) {
        result.note = e.description();
        // An office that ended (killed by the file, say) is not asked again: the next starts anew.
        if (e.kind() == HostError::Kind::Unavailable)
            run::JobOffice::quitIgnoringFailure(std::move(office));
    } catch (const run::RunFailure& e) {
        result.note = e.description();
    }
    // The user knows the file, not the link it was opened through.
    if (!link.isEmpty())
        result.note.replace(link, inputs.settings.secondPath);
    if (result.status != FileStatus::Failed) {
        result.records = state->records();
        result.note = notesOf(*state);
    }
    closeWorkbooksOrOffice(office);
}

QString FolderDiffRun::secondWorkbookPath(const QString& path, int number) const
{
    // A folder a file: files of one name in different folders may be open at once.
    const QDir folder(m_links->filePath(QString::number(number)));
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString link = folder.filePath(name.left(dot) + u"(2)"_s + name.mid(dot));
    QFile::remove(link);
    if (!m_links->isValid() || !folder.mkpath(u"."_s) || !QFile::link(path, link))
        throw run::RunFailure(run::RunFailure::FileAccess,
                              u"%1 could not be linked in %2"_s.arg(path, folder.path()));
    return link;
}

// An office that cannot close what it opened is ended: the next pair starts a new one.
void FolderDiffRun::closeWorkbooksOrOffice(Office& office)
{
    if (office && run::callIgnoringFailure([&] { office->closeAllWorkbooks(); }))
        run::JobOffice::quitIgnoringFailure(std::move(office));
}

DiffEnding FolderDiffRun::cancel()
{
    m_ui.closeProgress();
    run::JobOffice::quitIgnoringFailure(std::move(m_host));
    message(m_ui, aborted(), QCoreApplication::translate("DiffRun", "ユーザ中止要求"),
            MessageIcon::Information);
    return DiffEnding::Cancelled;
}

DiffEnding FolderDiffRun::fail(const DiffRunState& state, int number, const QString& description)
{
    ErrorReportState report = state.reportState(number, description);
    report.environment = m_factory.environment();
    m_ui.showErrorReport(errorReportText(report));
    m_ui.closeProgress();
    run::JobOffice::quitIgnoringFailure(std::move(m_host));
    return DiffEnding::Failed;
}

} // namespace brelix::compare
