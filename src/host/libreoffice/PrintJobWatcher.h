#pragma once

#include <chrono>
#include <com/sun/star/view/PrintableState.hpp>
#include <com/sun/star/view/XPrintJobListener.hpp>
#include <condition_variable>
#include <cppuhelper/implbase1.hxx>
#include <mutex>
#include <optional>

namespace brelix::libreoffice {

// The office tells a failed print job only to a listener; print() itself returns normally.
class PrintJobWatcher : public cppu::WeakImplHelper1<css::view::XPrintJobListener> {
public:
    void SAL_CALL printJobEvent(const css::view::PrintJobEvent& event) override;
    void SAL_CALL disposing(const css::lang::EventObject& source) override;

    // The job's final state, or nothing when none came within the time.
    std::optional<css::view::PrintableState> waitForEnd(std::chrono::milliseconds timeout);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<css::view::PrintableState> m_end;
    bool m_completed = false;
};

} // namespace brelix::libreoffice
