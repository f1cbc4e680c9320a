#pragma once

#include "core/host/SpreadsheetHostFactory.h"
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

private:
    std::optional<SearchEnding> refusal();
    bool prepareFiles();
    SearchEnding searchWorkbooks();
    std::optional<SearchEnding> searchWorkbook(const SearchTarget& target);
    std::optional<SearchEnding> readWorkbook(const SearchTarget& target);
    std::optional<SearchEnding> searchSheets(const QString& book);
    QString showSheet(const QString& book, int sheet, int count);
    void closeWorkbook(const QString& book);
    std::optional<SearchEnding> readFailed(const host::HostError& failure);
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
};

} // namespace brelix::search
