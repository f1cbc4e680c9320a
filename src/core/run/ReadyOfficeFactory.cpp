#include "core/run/ReadyOfficeFactory.h"

#include "core/host/HostError.h"
#include "core/run/JobOffice.h"
#include "core/run/PooledHost.h"

namespace brelix::run {

ReadyOfficeFactory::ReadyOfficeFactory(host::SpreadsheetHostFactory& factory,
                                       std::chrono::milliseconds checkInterval, OfficeReuse reuse)
    : m_factory(factory), m_checkInterval(checkInterval), m_reuse(reuse),
      m_thread([this] { keepReady(); })
{
}

ReadyOfficeFactory::~ReadyOfficeFactory()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_enabled = false;
        if (m_starting)
            m_factory.abandonStart(); // nobody waits for it any more
    }
    m_changed.notify_all();
    m_thread.join();
    JobOffice::quitIgnoringFailure(std::move(m_ready));
}

void ReadyOfficeFactory::setEnabled(bool on)
{
    {
        std::lock_guard lock(m_mutex);
        m_enabled = on;
        m_startFailed = false;
    }
    m_changed.notify_all();
}

void ReadyOfficeFactory::holdBack(bool on)
{
    {
        std::lock_guard lock(m_mutex);
        m_heldBack = on;
    }
    m_changed.notify_all();
}

bool ReadyOfficeFactory::waitUntilReady(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [this] { return m_ready != nullptr; });
}

void ReadyOfficeFactory::quitOutsideLock(std::unique_lock<std::mutex>& lock,
                                         std::unique_ptr<host::SpreadsheetHost> host)
{
    lock.unlock();
    JobOffice::quitIgnoringFailure(std::move(host));
    lock.lock();
}

std::unique_ptr<host::SpreadsheetHost> ReadyOfficeFactory::takeReady(int& jobsDone)
{
    std::unique_lock lock(m_mutex);
    m_abandoned = false;
    m_startFailed = false;
    // Two offices starting side by side would each start slower than the one alone.
    m_changed.wait(lock, [this] { return !m_starting; });
    if (m_abandoned)
        throw host::HostError(host::HostError::Kind::StartFailed,
                              QStringLiteral("the start was cancelled"));
    std::unique_ptr<host::SpreadsheetHost> ready = std::move(m_ready);
    jobsDone = m_readyJobsDone;
    if (ready && !ready->isAlive())
        quitOutsideLock(lock, std::move(ready));
    if (!ready)
        m_jobStarting = true;
    m_changed.notify_all(); // the thread starts the next one, or waits for the job's start
    return ready;
}

std::unique_ptr<host::SpreadsheetHost> ReadyOfficeFactory::start()
{
    int jobsDone = 0;
    if (std::unique_ptr<host::SpreadsheetHost> ready = takeReady(jobsDone))
        return lend(std::move(ready), jobsDone);
    struct JobStartEnd {
        ReadyOfficeFactory& factory;
        ~JobStartEnd()
        {
            {
                std::lock_guard lock(factory.m_mutex);
                factory.m_jobStarting = false;
            }
            factory.m_changed.notify_all();
        }
    } end{*this};
    return lend(m_factory.start(), 0);
}

std::unique_ptr<host::SpreadsheetHost>
ReadyOfficeFactory::lend(std::unique_ptr<host::SpreadsheetHost> host, int jobsDone)
{
    return std::make_unique<PooledHost>(std::move(host), jobsDone, m_reuse,
                                        [this](std::unique_ptr<host::SpreadsheetHost> back,
                                               int done) { giveBack(std::move(back), done); });
}

// Kept when nothing else is ready: a fresh instance, with all its jobs before it, wins.
void ReadyOfficeFactory::giveBack(std::unique_ptr<host::SpreadsheetHost> host, int jobsDone)
{
    std::unique_lock lock(m_mutex);
    if (!m_enabled || m_stop || m_ready) {
        quitOutsideLock(lock, std::move(host));
        return;
    }
    m_ready = std::move(host);
    m_readyJobsDone = jobsDone;
    m_startFailed = false;
    m_changed.notify_all();
}

void ReadyOfficeFactory::abandonStart()
{
    {
        std::lock_guard lock(m_mutex);
        m_abandoned = true;
    }
    m_factory.abandonStart();
}

void ReadyOfficeFactory::keepReady()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (m_ready && (!m_enabled || !m_ready->isAlive())) {
            quitOutsideLock(lock, std::move(m_ready));
            continue;
        }
        if (m_enabled && !m_ready && !m_jobStarting && !m_startFailed && !m_heldBack) {
            m_starting = true;
            lock.unlock();
            std::unique_ptr<host::SpreadsheetHost> started;
            try {
                started = m_factory.start();
                started->warmUp();
            } catch (const host::HostError&) {
                // A job that needs an office meets the failure in its own start.
                JobOffice::quitIgnoringFailure(std::move(started));
            }
            lock.lock();
            m_starting = false;
            m_startFailed = !started;
            if (m_ready) { // given back meanwhile
                quitOutsideLock(lock, std::move(started));
            } else {
                m_ready = std::move(started);
                m_readyJobsDone = 0;
            }
            m_changed.notify_all();
            continue;
        }
        m_changed.wait_for(lock, m_checkInterval);
    }
}

} // namespace brelix::run
