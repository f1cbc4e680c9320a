#include "host/libreoffice/LibreOfficeHostFactory.h"

#include "core/host/HostError.h"
#include "host/libreoffice/LibreOfficeHost.h"
#include "host/libreoffice/OfficeProcess.h"
#include "host/libreoffice/ReadyOfficeKeeper.h"

#include <csignal>

namespace brelix::libreoffice {

LibreOfficeHostFactory::LibreOfficeHostFactory(OfficeOptions options) : m_options(options)
{
    // Before any handler of the program's own, which gives an ending signal back to this one.
    OfficeProcess::endOfficesOnEndingSignals();
}

std::unique_ptr<host::SpreadsheetHost> LibreOfficeHostFactory::start()
{
    OfficeProcess::sweepStale();
    if (m_options.takeReadyOffice)
        if (std::unique_ptr<OfficeProcess> ready =
                ReadyOfficeKeeper::take(m_options.display == OfficeOptions::Display::Visible)) {
            try {
                return std::make_unique<LibreOfficeHost>(m_options, std::move(ready));
            } catch (const host::HostError&) {
                // It ended as it was taken: a start of our own follows.
            }
        }
    return std::make_unique<LibreOfficeHost>(m_options, &m_starting);
}

void LibreOfficeHostFactory::abandonStart()
{
    if (const pid_t pgid = m_starting.load(); pgid > 0)
        ::kill(-pgid, SIGKILL);
}

bool LibreOfficeHostFactory::handedOverInstanceOpen()
{
    return OfficeProcess::handedOverInstanceOpen();
}

} // namespace brelix::libreoffice
