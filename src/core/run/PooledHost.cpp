#include "core/run/PooledHost.h"

#include "core/host/HostError.h"
#include "core/run/JobOffice.h"

namespace brelix::run {

PooledHost::PooledHost(std::unique_ptr<host::SpreadsheetHost> host, int jobsDone, OfficeReuse reuse,
                       GiveBack giveBack)
    : m_host(std::move(host)), m_jobsDone(jobsDone), m_reuse(reuse), m_giveBack(std::move(giveBack))
{
}

PooledHost::~PooledHost()
{
    // A job that ended without a word (an exception on its way) leaves it running: it ends.
    bool running = false;
    if (m_host)
        callIgnoringFailure([&] { running = m_host->isAlive(); });
    if (running)
        JobOffice::quitIgnoringFailure(std::move(m_host));
}

void PooledHost::relay(const QString*, const std::function<void(host::SpreadsheetHost&)>& call)
{
    if (!m_host)
        throw host::HostError(host::HostError::Kind::Unavailable,
                              QStringLiteral("the office went back to its pool"));
    call(*m_host);
}

void PooledHost::handOver()
{
    bool headless = false;
    callIgnoringFailure([&] { headless = m_host && m_host->isHeadless(); });
    if (headless)
        finishJob(); // nobody could see it: the job leaves nothing for the user
    else
        ForwardingHost::handOver();
}

void PooledHost::finishJob()
{
    if (!m_host)
        return;
    const int jobsDone = m_jobsDone + 1;
    bool fit = false;
    if (!m_abandoned && jobsDone < m_reuse.maxJobs)
        callIgnoringFailure([&] { fit = m_host->clearForNextJob(m_reuse.memoryBoundKiB); });
    if (fit && !m_abandoned)
        m_giveBack(std::move(m_host), jobsDone);
    else
        JobOffice::quitIgnoringFailure(std::move(m_host));
}

void PooledHost::abandon()
{
    m_abandoned = true;
    if (m_host)
        m_host->abandon();
}

} // namespace brelix::run
