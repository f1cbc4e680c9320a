#pragma once

#include "core/host/ForwardingHost.h"
#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/RunUi.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace brelix::run {

// A host whose calls run one at a time on a thread of their own while the run's thread waits
// for them, letting the run's window events run meanwhile: a slow call does not freeze the
// progress window. A cancel that a stuck call does not honour within the grace time abandons
// the instance, so that the call fails and the run reaches its cancel ending.
class ResponsiveHost : public host::ForwardingHost {
public:
    static constexpr std::chrono::milliseconds kCancelGrace{1000};

    // Starts the instance through `factory`, on the host thread; throws what the start throws.
    // `twoWorkbooks`: the instance is for a job that opens two workbooks at once.
    ResponsiveHost(host::SpreadsheetHostFactory& factory, RunUi& ui, bool twoWorkbooks = false);
    ~ResponsiveHost() override;
    ResponsiveHost(const ResponsiveHost&) = delete;
    ResponsiveHost& operator=(const ResponsiveHost&) = delete;

    // From any thread, while a call waits: not through the host thread.
    void abandon() override;

protected:
    void relay(const QString* book,
               const std::function<void(host::SpreadsheetHost&)>& call) override;

private:
    enum class Waiting { Responsive, Plain };

    void runOnHostThread(const std::function<void()>& task, Waiting waiting);
    void serve();
    void stopThread();

    host::SpreadsheetHostFactory& m_factory;
    RunUi& m_ui;
    std::unique_ptr<host::SpreadsheetHost> m_host; // made and ended on the host thread
    bool m_started = false;                        // m_host is there; only this thread's
    bool m_calling = false;                        // a call waits; only this thread's
    std::mutex m_mutex;
    std::condition_variable m_changed;
    const std::function<void()>* m_task = nullptr; // the call the host thread is to make
    bool m_done = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace brelix::run
