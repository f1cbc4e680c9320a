#include "core/run/HiddenOffice.h"

namespace brelix::run {

std::unique_ptr<host::SpreadsheetHost> startOfficeForJob(host::SpreadsheetHostFactory& factory,
                                                         HostFailures failures, bool twoWorkbooks)
{
    std::unique_ptr<host::SpreadsheetHost> host =
        twoWorkbooks ? factory.startForTwoWorkbooks() : factory.start();
    callWith(failures, [&] { host->setBusyTimeout(kBusyTimeoutDuringJob); });
    return host;
}

void hideWindows(host::SpreadsheetHost& host, HostFailures failures)
{
    callWith(failures, [&] { host.setVisible(false); });
    callWith(failures, [&] { host.setMaximized(true); });
}

std::unique_ptr<host::SpreadsheetHost> startHiddenOffice(host::SpreadsheetHostFactory& factory,
                                                         HostFailures failures)
{
    std::unique_ptr<host::SpreadsheetHost> host = startOfficeForJob(factory, failures);
    hideWindows(*host, failures);
    return host;
}

void quitIgnoringFailure(std::unique_ptr<host::SpreadsheetHost> host)
{
    if (host)
        callIgnoringFailure([&] { host->quit(); });
}

} // namespace brelix::run
