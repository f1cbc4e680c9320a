#include "host/libreoffice/PrintJobWatcher.h"

namespace brelix::libreoffice {

using namespace css::view;

void PrintJobWatcher::printJobEvent(const css::view::PrintJobEvent& event)
{
    std::lock_guard lock(m_mutex);
    switch (event.State) {
    case PrintableState_JOB_STARTED:
        return;
    case PrintableState_JOB_COMPLETED:
        // Spooling may still fail after the pages are made.
        m_completed = true;
        break;
    default:
        m_end = event.State;
        break;
    }
    m_changed.notify_all();
}

void PrintJobWatcher::disposing(const css::lang::EventObject&) {}

std::optional<PrintableState> PrintJobWatcher::waitForEnd(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, timeout, [this] { return m_end.has_value(); });
    if (!m_end && m_completed)
        return PrintableState_JOB_COMPLETED;
    return m_end;
}

} // namespace brelix::libreoffice
