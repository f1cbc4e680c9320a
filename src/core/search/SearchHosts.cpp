#include "core/search/SearchHosts.h"

#include "core/host/HostError.h"

namespace brelix::search {

SearchHosts::~SearchHosts()
{
    quitQuietly(std::move(m_idle));
}

std::unique_ptr<host::SpreadsheetHost> SearchHosts::take()
{
    if (m_idle)
        return std::move(m_idle);
    return m_factory.start();
}

void SearchHosts::giveBack(std::unique_ptr<host::SpreadsheetHost> host)
{
    if (!host)
        return;
    try {
        if (host->workbookNames().isEmpty() && !m_idle) {
            m_idle = std::move(host);
            return;
        }
    } catch (const host::HostError&) {
        // An instance that cannot say what it holds is not taken again.
    }
    quitQuietly(std::move(host));
}

void SearchHosts::quitQuietly(std::unique_ptr<host::SpreadsheetHost> host)
{
    if (!host)
        return;
    try {
        host->quit();
    } catch (const host::HostError&) {
    }
}

} // namespace brelix::search
