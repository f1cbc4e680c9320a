#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/OfficeReuse.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace brelix::run {

// Keeps one idle instance started ahead of the jobs, on a thread of its own: a job takes it
// instead of waiting for a start, and the next one starts as soon as it is taken. A job that
// went well gives its instance back (see PooledHost) to be the next ready one; any other end
// ends it. One that ended while idle is noticed, quit and replaced, never handed out. Turned
// off, it starts nothing and keeps nothing; a job then starts its own.
class ReadyOfficeFactory : public host::SpreadsheetHostFactory {
public:
    static constexpr std::chrono::milliseconds kCheckInterval{3000};

    // `checkInterval`: how often the idle instance is looked at.
    explicit ReadyOfficeFactory(host::SpreadsheetHostFactory& factory,
                                std::chrono::milliseconds checkInterval = kCheckInterval,
                                OfficeReuse reuse = {});
    ~ReadyOfficeFactory() override; // quits the idle instance, stops one starting
    ReadyOfficeFactory(const ReadyOfficeFactory&) = delete;
    ReadyOfficeFactory& operator=(const ReadyOfficeFactory&) = delete;

    void setEnabled(bool on);
    // While a job runs, no instance starts: on a small machine it would slow the job down.
    void holdBack(bool on);
    // Waits until an instance is idle and ready; false when none is within `timeout`.
    bool waitUntilReady(std::chrono::milliseconds timeout);

    // The idle instance when it is alive (or the one being started, when it comes up); a
    // start of the job's own otherwise.
    std::unique_ptr<host::SpreadsheetHost> start() override;
    bool handedOverInstanceOpen() override { return m_factory.handedOverInstanceOpen(); }
    QString environment() override { return m_factory.environment(); }
    void abandonStart() override;

private:
    std::unique_ptr<host::SpreadsheetHost> takeReady(int& jobsDone);
    std::unique_ptr<host::SpreadsheetHost> lend(std::unique_ptr<host::SpreadsheetHost> host,
                                                int jobsDone);
    void giveBack(std::unique_ptr<host::SpreadsheetHost> host, int jobsDone);
    void keepReady();
    void quitOutsideLock(std::unique_lock<std::mutex>& lock,
                         std::unique_ptr<host::SpreadsheetHost> host);

    host::SpreadsheetHostFactory& m_factory;
    const std::chrono::milliseconds m_checkInterval;
    const OfficeReuse m_reuse;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::unique_ptr<host::SpreadsheetHost> m_ready;
    int m_readyJobsDone = 0; // jobs the ready instance has served
    bool m_enabled = false;
    bool m_heldBack = false;
    bool m_starting = false;    // the thread is starting an instance
    bool m_jobStarting = false; // a job starts its own; one start at a time
    bool m_startFailed = false; // no retry before a job needs an office again
    bool m_abandoned = false;   // the job waiting for the start was cancelled
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace brelix::run
