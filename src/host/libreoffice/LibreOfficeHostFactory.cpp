#include "host/libreoffice/LibreOfficeHostFactory.h"

#include "host/libreoffice/LibreOfficeHost.h"
#include "host/libreoffice/OfficeProcess.h"

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
