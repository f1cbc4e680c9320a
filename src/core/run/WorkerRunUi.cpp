#include "core/run/WorkerRunUi.h"

namespace brelix::run {

using Kind = OrderedItems::ScreenCall::Kind;

bool WorkerRunUi::waitForTurn()
{
    return m_items.ask(m_item, {Kind::Turn, {}, {}, 0}).has_value();
}

void WorkerRunUi::show(Kind kind, int number, const QString& text)
{
    m_items.show(m_item, {kind, text, {}, number});
}

void WorkerRunUi::showProgress(const QString& caption)
{
    show(Kind::Caption, 0, caption);
}

void WorkerRunUi::setProgressCaption(const QString& caption)
{
    show(Kind::Caption, 0, caption);
}

void WorkerRunUi::setProgressBarVisible(bool visible)
{
    show(Kind::BarVisible, visible ? 1 : 0);
}

void WorkerRunUi::setProgressPercent(int percent)
{
    show(Kind::Percent, percent);
}

void WorkerRunUi::setCancelEnabled(bool enabled)
{
    show(Kind::CancelEnabled, enabled ? 1 : 0);
}

void WorkerRunUi::setProgressHidden(bool hidden)
{
    show(Kind::ProgressHidden, hidden ? 1 : 0);
}

void WorkerRunUi::processEvents()
{
    // A worker's thread must not touch the window; the run's thread lets its events run. An
    // office a worker kept, serving the run after it, waits on the run's screen.
    if (m_items.ended())
        m_items.runUi().processEvents();
}

std::optional<QString> WorkerRunUi::askPassword(const QString& book, const QString& offered)
{
    return m_items.ask(m_item, {Kind::Password, book, offered, 0});
}

} // namespace brelix::run
