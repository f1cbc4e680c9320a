#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/ParallelItems.h"
#include "core/run/RunUi.h"
#include "core/search/HitFile.h"
#include "core/search/SearchHosts.h"
#include "core/search/SearchOutcome.h"
#include "core/search/SearchRunState.h"
#include "core/search/SearchSettings.h"

#include <functional>
#include <memory>
#include <optional>

namespace brelix::search {

// One search, from the press of the search button to the results left open in the office:
// every selected workbook is searched in an office instance with nothing else in it, each hit
// goes into the hit file, and the results workbook is made from that file. Every ending has
// told the user by the time a call returns.
class SearchRun {
public:
    // `password` is the sheet password typed last; it outlives the run, never the program.
    SearchRun(host::SpreadsheetHostFactory& factory, run::RunUi& ui, QString& password)
        : m_factory(factory), m_ui(ui), m_password(password)
    {
    }

    // The search button: refuses an empty search text, else calls `accepted` (where the
    // caller moves the search text and the folder to the heads of their histories) and runs.
    SearchOutcome start(const SearchSettings& settings, const std::function<void()>& accepted);

    // The run itself, as the button calls it after its text check.
    SearchOutcome run(const SearchSettings& settings);

    // Searches with `count` offices at once, started through `plainFactory`, whose calls wait
    // as they come (the workers' own threads wait for them); one office without it.
    void useOffices(host::SpreadsheetHostFactory& plainFactory, int count)
    {
        m_plainFactory = &plainFactory;
        m_offices = count;
    }

private:
    // One workbook searched by a worker, in a state of its own.
    struct SearchedWorkbook {
        SearchRunState state;
        std::optional<SearchEnding> ending;
    };

    std::optional<SearchEnding> refusal();
    bool prepareFiles();
    SearchEnding searchWorkbooks();
    SearchEnding searchInParallel(int offices);
    void keepOneIdleOffice(std::vector<std::shared_ptr<SearchHosts>>& workerHosts);
    void takeWorkbook(const SearchRunState& searched);
    SearchEnding endHere(SearchEnding ending, std::unique_ptr<host::SpreadsheetHost> host);
    SearchEnding cancelEnd();
    SearchEnding passwordEnd();
    void tellSkippedFiles();
    void removeHitFile();
    void message(const QString& text, const QString& title, run::MessageIcon icon);

    host::SpreadsheetHostFactory& m_factory;
    run::RunUi& m_ui;
    QString& m_password;
    SearchRunState m_state;
    std::unique_ptr<SearchHosts> m_hosts;
    std::unique_ptr<host::SpreadsheetHost> m_host;
    std::unique_ptr<HitFile> m_hitFile;
    host::SpreadsheetHostFactory* m_plainFactory = nullptr;
    int m_offices = 1;
    // Outlives the results: the office they are made in may be a worker's.
    std::unique_ptr<run::ParallelItems<SearchedWorkbook>> m_parallel;
};

} // namespace brelix::search
