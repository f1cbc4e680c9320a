#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/HostFailures.h"

#include <chrono>
#include <memory>

namespace brelix::run {

// How long one host call may take while a run works: reading or printing a large workbook is
// slow, a dead office is not waited for forever.
inline constexpr std::chrono::milliseconds kBusyTimeoutDuringJob{600000};

// A new private instance for a run, with the busy time-out of a job. The start's failure
// always passes through; the setting's goes as `failures` says. `twoWorkbooks`: the run opens
// its two workbooks at once.
std::unique_ptr<host::SpreadsheetHost> startOfficeForJob(host::SpreadsheetHostFactory& factory,
                                                         HostFailures failures,
                                                         bool twoWorkbooks = false);
// Keeps the instance's windows hidden while the run works, maximised once they are shown.
void hideWindows(host::SpreadsheetHost& host, HostFailures failures);
// Both of these.
std::unique_ptr<host::SpreadsheetHost> startHiddenOffice(host::SpreadsheetHostFactory& factory,
                                                         HostFailures failures);

// Ends the instance, closing everything unsaved, whatever fails on the way.
void quitIgnoringFailure(std::unique_ptr<host::SpreadsheetHost> host);

} // namespace brelix::run
