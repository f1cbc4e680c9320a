#include "core/search/SearchHosts.h"

#include "core/run/JobOffice.h"

namespace brelix::search {

SearchHosts::~SearchHosts()
{
    run::JobOffice::quitIgnoringFailure(std::move(m_idle));
}

std::unique_ptr<host::SpreadsheetHost> SearchHosts::take()
{
    if (m_idle)
        return std::move(m_idle);
    return run::JobOffice::startHidden(m_factory, run::HostFailures::Ignored);
}

void SearchHosts::finish(bool wentWell)
{
    run::JobOffice::endIgnoringFailure(std::move(m_idle), wentWell);
}

void SearchHosts::giveBack(std::unique_ptr<host::SpreadsheetHost> host)
{
    if (!host)
        return;
    bool holdsNothing = false;
    // An instance that cannot say what it holds is not taken again.
    run::callIgnoringFailure([&] { holdsNothing = host->workbookNames().isEmpty(); });
    if (holdsNothing && !m_idle)
        m_idle = std::move(host);
    else
        run::JobOffice::quitIgnoringFailure(std::move(host));
}

} // namespace brelix::search
