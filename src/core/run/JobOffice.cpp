#include "core/run/JobOffice.h"

#include <QCoreApplication>

namespace brelix::run {

bool JobOffice::refuseWhileHandedOverOpen(RunUi& ui, host::SpreadsheetHostFactory& factory)
{
    if (!factory.handedOverInstanceOpen())
        return false;
    ui.showMessage({QCoreApplication::translate(
                        "JobOffice", "Brelix が開いた LibreOffice を閉じてから実行して下さい"),
                    QCoreApplication::translate("JobOffice", "LibreOffice起動中", "open already"),
                    MessageIcon::Exclamation});
    return true;
}

void JobOffice::showStarting(RunUi& ui)
{
    ui.clearCancel();
    ui.showProgress(QCoreApplication::translate("JobOffice", "LibreOffice起動中", "starting"));
    ui.processEvents();
}

std::unique_ptr<host::SpreadsheetHost> JobOffice::start(host::SpreadsheetHostFactory& factory,
                                                        HostFailures failures, bool twoWorkbooks)
{
    std::unique_ptr<host::SpreadsheetHost> host =
        twoWorkbooks ? factory.startForTwoWorkbooks() : factory.start();
    callWith(failures, [&] { host->setBusyTimeout(kBusyTimeout); });
    return host;
}

void JobOffice::hideWindows(host::SpreadsheetHost& host, HostFailures failures)
{
    callWith(failures, [&] { host.setVisible(false); });
    callWith(failures, [&] { host.setMaximized(true); });
}

std::unique_ptr<host::SpreadsheetHost> JobOffice::startHidden(host::SpreadsheetHostFactory& factory,
                                                              HostFailures failures)
{
    std::unique_ptr<host::SpreadsheetHost> host = start(factory, failures);
    hideWindows(*host, failures);
    return host;
}

void JobOffice::quitIgnoringFailure(std::unique_ptr<host::SpreadsheetHost> host)
{
    if (host)
        callIgnoringFailure([&] { host->quit(); });
}

void JobOffice::endIgnoringFailure(std::unique_ptr<host::SpreadsheetHost> host, bool wentWell)
{
    if (host && wentWell && !callIgnoringFailure([&] { host->finishJob(); }))
        return;
    quitIgnoringFailure(std::move(host));
}

} // namespace brelix::run
