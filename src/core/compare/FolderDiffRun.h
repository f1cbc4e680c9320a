#pragma once

#include "core/compare/DiffOutcome.h"
#include "core/compare/DiffRunState.h"
#include "core/compare/DiffSettings.h"
#include "core/compare/FolderPairing.h"
#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/ParallelItems.h"
#include "core/run/RunUi.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace brelix::compare {

// What became of one file of a folder comparison.
enum class FileStatus { Same, Changed, Added, Removed, Failed };

struct FileResult {
    QString path; // relative to both folders
    FileStatus status = FileStatus::Failed;
    QList<DiffRecord> records{};
    // Why it failed; else what the change history of the file alone would note (hidden
    // sheets, a comparison cut short), lines joined by "\n".
    QString note{};
};

struct FolderDiffOutcome {
    // Finished (the change history saved), Cancelled, Refused, OfficeOpen, or Failed (the
    // error report was shown: no change history).
    DiffEnding ending = DiffEnding::Failed;
    QList<FileResult> files{}; // in the order of the files, also when the run did not finish
    QString failure{};
};

// The comparison of two folders: every workbook under both compared with the one of the same
// relative path, with the settings of a comparison of two files, in one office that closes each
// pair before the next, or in several at once that give what one would have given. A file that
// fails (damaged, protected, even one that ends the office) fails alone. The records of every file
// and a summary go into one change history, which is the only workbook left open for the user.
class FolderDiffRun {
public:
    FolderDiffRun(host::SpreadsheetHostFactory& factory, run::RunUi& ui, QString& password)
        : m_factory(factory), m_ui(ui), m_password(password)
    {
    }
    ~FolderDiffRun();
    FolderDiffRun(const FolderDiffRun&) = delete;
    FolderDiffRun& operator=(const FolderDiffRun&) = delete;

    // Called with each file's result as soon as it is known, in the order of the files.
    using FileDone = std::function<void(const FileResult&)>;

    // `settings.firstPath` and `secondPath` name the folders. The checks come first: nothing
    // starts when one fails; `programEnds` as for a comparison of two files.
    FolderDiffOutcome start(const DiffSettings& settings, bool* programEnds = nullptr,
                            const FileDone& fileDone = {});

    // Compares with `count` offices at once, started through `plainFactory`, whose calls wait
    // as they come (the workers' own threads wait for them); one office without it.
    void useOffices(host::SpreadsheetHostFactory& plainFactory, int count)
    {
        m_plainFactory = &plainFactory;
        m_offices = count;
    }

    // The status of one file pair compared: its records and whether its budget ran out.
    static FileStatus statusOf(const DiffRunState& state);

private:
    using Office = std::unique_ptr<host::SpreadsheetHost>;
    // Where a pair is compared: `office` (started through `factory` when empty), the screen
    // it reports to and the password typed last.
    struct PairPlace {
        host::SpreadsheetHostFactory& factory;
        run::RunUi& ui;
        QString& password;
        Office& office;
    };
    // A worker's own office and password, when several compare at once.
    struct Worker {
        Office office;
        QString password;
    };

    FolderDiffOutcome work(const QList<FolderFile>& files, const FileDone& fileDone);
    // Every pair in turn in m_host; false when the user cancelled.
    bool compareInTurn(const QList<FolderFile>& files, QList<FileResult>& results,
                       const FileDone& fileDone);
    bool compareInParallel(const QList<FolderFile>& files, int offices, QList<FileResult>& results,
                           const FileDone& fileDone);
    // The per-pair step: compares one file of both folders and leaves no workbook open in the
    // place's office. Pairs share nothing else, so that each of several offices takes its own.
    FileResult compareFile(PairPlace place, const FolderFile& file, int number, int count);
    // Opens the pair, compares it; a failure of the pair is its result.
    void comparePair(PairPlace place, DiffInputs inputs, FileResult& result, int number);
    // The second workbook of file `number` under a name of its own: both have the same name.
    QString secondWorkbookPath(const QString& path, int number) const;
    static void closeWorkbooksOrOffice(Office& office);
    DiffEnding cancel();
    DiffEnding fail(const DiffRunState& state, int number, const QString& description);

    host::SpreadsheetHostFactory& m_factory;
    run::RunUi& m_ui;
    QString& m_password;
    DiffSettings m_settings;
    host::SpreadsheetHostFactory* m_plainFactory = nullptr;
    int m_offices = 1;
    // Outlives m_host, which may be a worker's office waiting on the worker's screen.
    std::unique_ptr<run::ParallelItems<FileResult>> m_parallel;
    std::unique_ptr<host::SpreadsheetHost> m_host;
    std::unique_ptr<QTemporaryDir> m_links;
};

} // namespace brelix::compare
