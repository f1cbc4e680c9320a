#include "cli/HostSession.h"

#include "core/host/HostError.h"

namespace brelix::cli {

HostSession::HostSession(host::SpreadsheetHostFactory& factory) : m_host(factory.start()) {}

HostSession::~HostSession()
{
    try {
        m_host->quit();
    } catch (const host::HostError&) {
        // Already gone; nothing left to stop.
    }
}

} // namespace brelix::cli
