#include "core/run/WorkerRunUi.h"

namespace brelix::run {

using Kind = OrderedItems::ScreenCall::Kind;

bool WorkerRunUi::waitForTurn()
{
    if (m_items.ended())
        return true;
    return m_items.ask(m_item, {Kind::Turn, {}, {}, 0}).has_value();
}

void WorkerRunUi::show(Kind kind, int number, const QString& text)
{
    m_items.show(m_item, {kind, text, {}, number});
}

void WorkerRunUi::showProgress(const QString& caption)
{
    if (m_items.ended())
        m_items.runUi().showProgress(caption);
    else
        show(Kind::Caption, 0, caption);
}

void WorkerRunUi::setProgressCaption(const QString& caption)
{
    if (m_items.ended())
        m_items.runUi().setProgressCaption(caption);
    else
        show(Kind::Caption, 0, caption);
}

void WorkerRunUi::setProgressBarVisible(bool visible)
{
    if (m_items.ended())
        m_items.runUi().setProgressBarVisible(visible);
    else
        show(Kind::BarVisible, visible ? 1 : 0);
}

void WorkerRunUi::setProgressPercent(int percent)
{
    if (m_items.ended())
        m_items.runUi().setProgressPercent(percent);
    else
        show(Kind::Percent, percent);
}

void WorkerRunUi::setCancelEnabled(bool enabled)
{
    if (m_items.ended())
        m_items.runUi().setCancelEnabled(enabled);
    else
        show(Kind::CancelEnabled, enabled ? 1 : 0);
}

void WorkerRunUi::setProgressHidden(bool hidden)
{
    if (m_items.ended())
        m_items.runUi().setProgressHidden(hidden);
    else
        show(Kind::ProgressHidden, hidden ? 1 : 0);
}

void WorkerRunUi::closeProgress()
{
    if (m_items.ended())
        m_items.runUi().closeProgress();
}

void WorkerRunUi::processEvents()
{
    // A worker's thread must not touch the window; the run's thread lets its events run.
    if (m_items.ended())
        m_items.runUi().processEvents();
}

void WorkerRunUi::clearCancel()
{
    if (m_items.ended())
        m_items.runUi().clearCancel();
}

std::optional<QString> WorkerRunUi::askPassword(const QString& book, const QString& offered)
{
    if (m_items.ended())
        return m_items.runUi().askPassword(book, offered);
    return m_items.ask(m_item, {Kind::Password, book, offered, 0});
}

MessageAnswer WorkerRunUi::showMessage(const RunMessage& message)
{
    if (m_items.ended())
        return m_items.runUi().showMessage(message);
    return MessageAnswer::No;
}

void WorkerRunUi::showErrorReport(const QString& text)
{
    if (m_items.ended())
        m_items.runUi().showErrorReport(text);
}

} // namespace brelix::run
