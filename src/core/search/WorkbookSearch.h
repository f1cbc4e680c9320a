#pragma once

#include "core/host/HostError.h"
#include "core/run/RunUi.h"
#include "core/search/HitFile.h"
#include "core/search/SearchHosts.h"
#include "core/search/SearchOutcome.h"
#include "core/search/SearchRunState.h"

#include <memory>
#include <optional>

namespace brelix::search {

// The search of one selected workbook in an office of `hosts` with nothing else in it: its
// hits go into the state (and the hit file, when there is one), a file that cannot be read is
// noted as skipped, and a file whose office died is read once more in a fresh one.
class WorkbookSearch {
public:
    WorkbookSearch(SearchHosts& hosts, run::RunUi& ui, QString& password, SearchRunState& state,
                   HitFile* hitFile)
        : m_hosts(hosts), m_ui(ui), m_password(password), m_state(state), m_hitFile(hitFile)
    {
    }

    // Nothing when the search goes on with the next workbook; Cancelled or PasswordFailed when
    // it ends here, with the office of the workbook left for takeHost().
    std::optional<SearchEnding> search(const SearchTarget& target);
    std::unique_ptr<host::SpreadsheetHost> takeHost() { return std::move(m_host); }

private:
    std::optional<SearchEnding> readWorkbook(const SearchTarget& target);
    std::optional<SearchEnding> searchSheets(const QString& book);
    QString showSheet(const QString& book, int sheet, int count);
    void closeWorkbook(const QString& book);
    std::optional<SearchEnding> readFailed(const host::HostError& failure);

    SearchHosts& m_hosts;
    run::RunUi& m_ui;
    QString& m_password;
    SearchRunState& m_state;
    HitFile* m_hitFile;
    std::unique_ptr<host::SpreadsheetHost> m_host;
};

} // namespace brelix::search
