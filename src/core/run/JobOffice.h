#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/HostFailures.h"
#include "core/run/RunUi.h"

#include <chrono>
#include <memory>

namespace brelix::run {

// The private office of a job, from the checks before it starts to its end: what the
// comparison, the search and the print share.
class JobOffice {
public:
    // How long one host call may take while a run works: reading or printing a large workbook
    // is slow, a dead office is not waited for forever.
    static constexpr std::chrono::milliseconds kBusyTimeout{600000};

    // True, once the user has been told, while an office that a run handed over is still open:
    // a new run would rewrite the results it shows and open its workbooks a second time.
    static bool refuseWhileHandedOverOpen(RunUi& ui, host::SpreadsheetHostFactory& factory);
    // The progress window of a run whose office is starting, with the cancel flag cleared.
    static void showStarting(RunUi& ui);

    // A new private instance for a run, with the busy time-out of a job. The start's failure
    // always passes through; the setting's goes as `failures` says. `twoWorkbooks`: the run
    // opens its two workbooks at once.
    static std::unique_ptr<host::SpreadsheetHost>
    start(host::SpreadsheetHostFactory& factory, HostFailures failures, bool twoWorkbooks = false);
    // Keeps the instance's windows hidden while the run works, maximised once they are shown.
    static void hideWindows(host::SpreadsheetHost& host, HostFailures failures);
    // Both of these.
    static std::unique_ptr<host::SpreadsheetHost> startHidden(host::SpreadsheetHostFactory& factory,
                                                              HostFailures failures);

    // Ends the instance, closing everything unsaved, whatever fails on the way.
    static void quitIgnoringFailure(std::unique_ptr<host::SpreadsheetHost> host);
    // The end of an instance that leaves nothing for the user: back to its pool for another
    // job when the job `wentWell`, else as quitIgnoringFailure.
    static void endIgnoringFailure(std::unique_ptr<host::SpreadsheetHost> host, bool wentWell);
};

} // namespace brelix::run
