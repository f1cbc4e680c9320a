#include "host/libreoffice/LibreOfficeHostFactory.h"

#include "host/libreoffice/LibreOfficeHost.h"
#include "host/libreoffice/OfficeProcess.h"

namespace brelix::libreoffice {

LibreOfficeHostFactory::LibreOfficeHostFactory(OfficeOptions options) : m_options(options) {}

std::unique_ptr<host::SpreadsheetHost> LibreOfficeHostFactory::start()
{
    OfficeProcess::sweepStale();
    return std::make_unique<LibreOfficeHost>(m_options);
}

bool LibreOfficeHostFactory::handedOverInstanceOpen()
{
    return OfficeProcess::handedOverInstanceOpen();
}

} // namespace brelix::libreoffice
