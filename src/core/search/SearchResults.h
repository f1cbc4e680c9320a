#pragma once

#include "core/host/SpreadsheetHost.h"
#include "core/run/ResultsWorkbook.h"
#include "core/run/RunUi.h"
#include "core/search/HitFile.h"
#include "core/search/SearchHosts.h"
#include "core/search/SearchOutcome.h"
#include "core/search/SearchRunState.h"

#include <memory>
#include <optional>

namespace brelix::search {

// The last phase of a search: the hit file becomes the results sheet of the results workbook,
// every workbook with hits opens above it, and the office is handed to the user. Whatever the
// office refuses on the way is left out, except opening, measuring and saving the results.
class SearchResults {
public:
    SearchResults(SearchHosts& hosts, run::RunUi& ui, SearchRunState& state, QString& password,
                  HitFile& hitFile)
        : m_hosts(hosts), m_ui(ui), m_state(state), m_password(password), m_hitFile(hitFile)
    {
    }

    // Finished, CutShort, PasswordFailed (the caller's password end follows) or Failed.
    SearchEnding build();

    // The instance of the results while it is not handed over, for the password end.
    std::unique_ptr<host::SpreadsheetHost> takeHost() { return std::move(m_host); }

private:
    // The results opened as a strip along the bottom of the screen; false when they cannot be.
    bool open(QString& failure);
    void writeRowsAndOpenBooks(const host::WindowGeometry& arranged);
    void markFurtherSheets();
    void openBookOf(const QString& fileName, const host::WindowGeometry& arranged);
    void writeNotice();
    SearchEnding handOver();
    SearchEnding fail(const QString& reason);

    SearchHosts& m_hosts;
    run::RunUi& m_ui;
    SearchRunState& m_state;
    QString& m_password;
    HitFile& m_hitFile;
    std::unique_ptr<host::SpreadsheetHost> m_host;
    std::optional<run::ResultsWorkbook> m_results;
    QString m_book;
    int m_nextRow = 2;
};

} // namespace brelix::search
