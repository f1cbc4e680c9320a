#include "core/run/ResponsiveHost.h"

#include "core/host/HostError.h"

#include <exception>
#include <optional>

namespace brelix::run {

namespace {

// A wait shorter than this passes unnoticed; longer ones let the window's events run.
constexpr std::chrono::milliseconds kPoll{20};

} // namespace

ResponsiveHost::ResponsiveHost(host::SpreadsheetHostFactory& factory, RunUi& ui, bool twoWorkbooks)
    : m_factory(factory), m_ui(ui), m_thread([this] { serve(); })
{
    try {
        runOnHostThread(
            [&] { m_host = twoWorkbooks ? m_factory.startForTwoWorkbooks() : m_factory.start(); },
            Waiting::Responsive);
        m_started = true;
    } catch (...) {
        stopThread();
        throw;
    }
}

ResponsiveHost::~ResponsiveHost()
{
    // Where it was made; a destructor lets no window event run.
    runOnHostThread([this] { m_host.reset(); }, Waiting::Plain);
    stopThread();
}

void ResponsiveHost::stopThread()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void ResponsiveHost::serve()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_task || m_stop; });
        if (!m_task)
            return;
        const std::function<void()>* task = m_task;
        lock.unlock();
        (*task)();
        lock.lock();
        m_task = nullptr;
        m_done = true;
        m_changed.notify_all();
    }
}

void ResponsiveHost::runOnHostThread(const std::function<void()>& task, Waiting waiting)
{
    std::exception_ptr failure;
    const std::function<void()> caught = [&] {
        try {
            task();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    // The events run while waiting must not call in again; a run never does.
    if (m_calling)
        throw host::HostError(host::HostError::Kind::General,
                              QStringLiteral("the office is busy with another call"));
    m_calling = true;
    std::unique_lock lock(m_mutex);
    m_task = &caught;
    m_done = false;
    m_changed.notify_all();
    std::optional<std::chrono::steady_clock::time_point> cancelSeen;
    bool abandoned = false;
    while (!m_changed.wait_for(lock, kPoll, [this] { return m_done; })) {
        if (waiting == Waiting::Plain)
            continue;
        lock.unlock();
        m_ui.processEvents();
        if (m_ui.cancelRequested() && !abandoned) {
            const auto now = std::chrono::steady_clock::now();
            if (!cancelSeen) {
                cancelSeen = now;
            } else if (now - *cancelSeen >= kCancelGrace) {
                m_started ? m_host->abandon() : m_factory.abandonStart();
                abandoned = true;
            }
        }
        lock.lock();
    }
    lock.unlock();
    m_calling = false;
    if (failure)
        std::rethrow_exception(failure);
}

void ResponsiveHost::relay(const QString*, const std::function<void(host::SpreadsheetHost&)>& call)
{
    runOnHostThread([&] { call(*m_host); }, Waiting::Responsive);
}

void ResponsiveHost::abandon()
{
    m_started ? m_host->abandon() : m_factory.abandonStart();
}

} // namespace brelix::run
