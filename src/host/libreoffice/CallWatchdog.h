#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace brelix::libreoffice {

// A call into the office blocks for as long as the office takes. This thread ends a call that
// takes longer than the busy time-out by running the given action (killing the office), which
// makes the blocked call fail at once.
class CallWatchdog {
public:
    explicit CallWatchdog(std::function<void()> onTimeout);
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog&) = delete;
    CallWatchdog& operator=(const CallWatchdog&) = delete;

    void setTimeout(std::chrono::milliseconds timeout);
    std::chrono::milliseconds timeout() const;
    bool fired() const;

    // Watches the calls made during its lifetime; nested scopes share the outer deadline.
    class Scope {
    public:
        explicit Scope(CallWatchdog& dog);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        CallWatchdog& m_dog;
    };

private:
    void run();

    std::function<void()> m_onTimeout;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::chrono::milliseconds m_timeout{600000};
    std::chrono::steady_clock::time_point m_deadline{};
    int m_depth = 0;
    bool m_fired = false;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace brelix::libreoffice
