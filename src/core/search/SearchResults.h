#pragma once

#include "core/host/SpreadsheetHost.h"
#include "core/run/RunUi.h"
#include "core/search/HitFile.h"
#include "core/search/SearchHosts.h"
#include "core/search/SearchOutcome.h"
#include "core/search/SearchRunState.h"

#include <memory>

namespace brelix::search {

// The last phase of a search: the hit file becomes the results sheet of "Brelix.xls", every
// workbook with hits opens above it, and the office is handed to the user.
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
    QString outputName() const { return m_output; }

private:
    bool openOutput();
    void writeRowsAndOpenBooks(const host::WindowGeometry& arranged);
    void mark(int rows, int columns);
    void writeNotice();
    SearchEnding fail(const QString& reason);

    SearchHosts& m_hosts;
    run::RunUi& m_ui;
    SearchRunState& m_state;
    QString& m_password;
    HitFile& m_hitFile;
    std::unique_ptr<host::SpreadsheetHost> m_host;
    QString m_output;
    int m_rowCounter = 2;
};

} // namespace brelix::search
