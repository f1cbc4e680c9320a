#include "host/libreoffice/CallWatchdog.h"

namespace brelix::libreoffice {

CallWatchdog::CallWatchdog(std::function<void()> onTimeout)
    : m_onTimeout(std::move(onTimeout)), m_thread([this] { run(); })
{
}

CallWatchdog::~CallWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CallWatchdog::setTimeout(std::chrono::milliseconds timeout)
{
    std::lock_guard lock(m_mutex);
    m_timeout = timeout;
}

std::chrono::milliseconds CallWatchdog::timeout() const
{
    std::lock_guard lock(m_mutex);
    return m_timeout;
}

bool CallWatchdog::fired() const
{
    std::lock_guard lock(m_mutex);
    return m_fired;
}

CallWatchdog::Scope::Scope(CallWatchdog& dog) : m_dog(dog)
{
    {
        std::lock_guard lock(m_dog.m_mutex);
        if (m_dog.m_depth++ > 0)
            return;
        m_dog.m_deadline = std::chrono::steady_clock::now() + m_dog.m_timeout;
    }
    m_dog.m_wake.notify_all();
}

CallWatchdog::Scope::~Scope()
{
    std::lock_guard lock(m_dog.m_mutex);
    --m_dog.m_depth;
}

void CallWatchdog::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (m_depth == 0 || m_fired) {
            m_wake.wait(lock);
            continue;
        }
        const auto deadline = m_deadline;
        if (m_wake.wait_until(lock, deadline) == std::cv_status::timeout && m_depth > 0 &&
            m_deadline == deadline && !m_fired) {
            m_fired = true;
            lock.unlock();
            m_onTimeout();
            lock.lock();
        }
    }
}

} // namespace brelix::libreoffice
