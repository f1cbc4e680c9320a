#include "host/libreoffice/LibreOfficeHostFactory.h"

#include "core/host/HostError.h"
#include "core/run/TwoOfficeHost.h"
#include "host/libreoffice/EndingSignals.h"
#include "host/libreoffice/InstanceSweeper.h"
#include "host/libreoffice/LibreOfficeHost.h"
#include "host/libreoffice/OfficeConnection.h"
#include "host/libreoffice/OfficeProcess.h"
#include "host/libreoffice/PrivateProfile.h"
#include "host/libreoffice/ReadyOfficeKeeper.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>
#include <csignal>
#include <future>

namespace brelix::libreoffice {

LibreOfficeHostFactory::LibreOfficeHostFactory(OfficeOptions options) : m_options(options)
{
    // Before any handler of the program's own, which gives an ending signal back to this one.
    EndingSignals::endOfficesFirst();
}

std::unique_ptr<host::SpreadsheetHost> LibreOfficeHostFactory::start()
{
    return startTaking(1);
}

std::unique_ptr<host::SpreadsheetHost> LibreOfficeHostFactory::startForTwoWorkbooks()
{
    // The windows of two offices would not be arranged together.
    return startTaking(m_options.display == OfficeOptions::Display::Headless ? 2 : 1);
}

std::unique_ptr<host::SpreadsheetHost> LibreOfficeHostFactory::startTaking(int readyOffices)
{
    // This process's own UNO start, a few milliseconds, goes on while offices are looked for.
    std::future<void> unoStarted;
    if (m_options.takeReadyOffice)
        unoStarted = std::async(std::launch::async, [] { localContext(); });
    InstanceSweeper::sweepStale();
    std::vector<std::unique_ptr<host::SpreadsheetHost>> hosts;
    if (m_options.takeReadyOffice)
        hosts = connectSideBySide(ReadyOfficeKeeper::take(
            m_options.display == OfficeOptions::Display::Visible, readyOffices));
    if (unoStarted.valid())
        unoStarted.wait();
    if (hosts.size() == 2)
        return std::make_unique<run::TwoOfficeHost>(std::move(hosts[0]), std::move(hosts[1]));
    if (hosts.size() == 1)
        return std::move(hosts[0]);
    return std::make_unique<LibreOfficeHost>(m_options, &m_starting);
}

std::vector<std::unique_ptr<host::SpreadsheetHost>>
LibreOfficeHostFactory::connectSideBySide(std::vector<std::unique_ptr<OfficeProcess>> offices)
{
    const auto connectTo = [&](std::unique_ptr<OfficeProcess>& office) {
        try {
            return std::unique_ptr<host::SpreadsheetHost>(
                std::make_unique<LibreOfficeHost>(m_options, std::move(office)));
        } catch (const host::HostError&) {
            return std::unique_ptr<host::SpreadsheetHost>(); // it ended as it was taken
        }
    };
    std::vector<std::future<std::unique_ptr<host::SpreadsheetHost>>> others;
    for (std::size_t i = 1; i < offices.size(); ++i)
        others.push_back(std::async(std::launch::async, connectTo, std::ref(offices[i])));
    std::vector<std::unique_ptr<host::SpreadsheetHost>> hosts;
    if (!offices.empty())
        hosts.push_back(connectTo(offices[0]));
    for (auto& other : others)
        hosts.push_back(other.get());
    std::erase(hosts, nullptr);
    return hosts;
}

void LibreOfficeHostFactory::abandonStart()
{
    if (const pid_t pgid = m_starting.load(); pgid > 0)
        ::kill(-pgid, SIGKILL);
}

bool LibreOfficeHostFactory::handedOverInstanceOpen()
{
    return InstanceSweeper::handedOverInstanceOpen();
}

QString LibreOfficeHostFactory::environment()
{
    // "LibreOffice 7.4.7.2" without the build number.
    return QSysInfo::prettyProductName() +
           QCoreApplication::translate("LibreOfficeHostFactory", "、") +
           QString::fromUtf8(PrivateProfile::productVersion(QDir::tempPath())).section(u' ', 0, 1);
}

} // namespace brelix::libreoffice
