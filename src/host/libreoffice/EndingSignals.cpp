#include "host/libreoffice/EndingSignals.h"

#include <atomic>
#include <csignal>
#include <mutex>

namespace brelix::libreoffice {

namespace {

// The process groups of the offices not handed over, for the signal handler: lock-free slots.
std::atomic<pid_t> g_ownedGroups[64];
static_assert(std::atomic<pid_t>::is_always_lock_free);

// Runs once (the action resets itself) and then ends the program by the same signal.
void onEndingSignal(int signal)
{
    for (auto& slot : g_ownedGroups)
        if (const pid_t pgid = slot.load(); pgid > 0)
            ::kill(-pgid, SIGKILL);
    ::raise(signal);
}

} // namespace

void EndingSignals::addOffice(pid_t pgid)
{
    for (auto& slot : g_ownedGroups) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, pgid))
            return;
    }
}

void EndingSignals::removeOffice(pid_t pgid)
{
    for (auto& slot : g_ownedGroups) {
        pid_t expected = pgid;
        if (slot.compare_exchange_strong(expected, 0))
            return;
    }
}

void EndingSignals::endOfficesFirst()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            struct sigaction current {};
            sigaction(s, nullptr, &current);
            if (current.sa_handler != SIG_DFL || (current.sa_flags & SA_SIGINFO))
                continue; // ignored or handled by someone else
            struct sigaction action {};
            action.sa_handler = onEndingSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESETHAND | SA_NODEFER;
            sigaction(s, &action, nullptr);
        }
    });
}

} // namespace brelix::libreoffice
