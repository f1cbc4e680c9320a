#include "core/run/OrderedItems.h"

#include <chrono>

namespace brelix::run {

namespace {

// How often the run's screen lets its events run while the item it plays is still at work.
constexpr std::chrono::milliseconds kPoll{20};

} // namespace

OrderedItems::OrderedItems(RunUi& ui, int count)
    : m_ui(ui), m_items(static_cast<std::size_t>(count))
{
}

std::optional<int> OrderedItems::takeNext()
{
    std::lock_guard lock(m_mutex);
    if (m_stopped || m_cancelled || m_next >= static_cast<int>(m_items.size()))
        return std::nullopt;
    m_items[static_cast<std::size_t>(m_next)].taken = true;
    m_changed.notify_all();
    return m_next++;
}

void OrderedItems::show(int item, ScreenCall call)
{
    {
        std::lock_guard lock(m_mutex);
        m_items[static_cast<std::size_t>(item)].calls.push_back(std::move(call));
    }
    m_changed.notify_all();
}

std::optional<QString> OrderedItems::ask(int item, ScreenCall call)
{
    std::unique_lock lock(m_mutex);
    Item& it = m_items[static_cast<std::size_t>(item)];
    it.answer.reset();
    it.calls.push_back(std::move(call));
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return it.answer || m_stopped; });
    if (!it.answer)
        return std::nullopt;
    return *std::exchange(it.answer, std::nullopt);
}

void OrderedItems::finish(int item)
{
    {
        std::lock_guard lock(m_mutex);
        m_items[static_cast<std::size_t>(item)].finished = true;
    }
    m_changed.notify_all();
}

bool OrderedItems::playUntilFinished(int item)
{
    std::unique_lock lock(m_mutex);
    Item& it = m_items[static_cast<std::size_t>(item)];
    while (true) {
        while (it.played < it.calls.size()) {
            const ScreenCall call = it.calls[it.played];
            lock.unlock();
            const std::optional<QString> answer = play(call);
            lock.lock();
            ++it.played;
            if (call.kind == ScreenCall::Kind::Password || call.kind == ScreenCall::Kind::Turn) {
                it.answer.emplace(answer);
                m_changed.notify_all();
            }
        }
        if (it.finished)
            return true;
        if (m_cancelled && !it.taken)
            return false;
        lock.unlock();
        m_ui.processEvents();
        if (m_ui.cancelRequested())
            m_cancelled = true;
        lock.lock();
        m_changed.wait_for(lock, kPoll, [&] {
            return it.finished || it.played < it.calls.size() || (m_cancelled && !it.taken);
        });
    }
}

void OrderedItems::stop(bool cancelled)
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
        if (cancelled)
            m_cancelled = true;
    }
    m_changed.notify_all();
}

std::optional<QString> OrderedItems::play(const ScreenCall& call)
{
    using Kind = ScreenCall::Kind;
    switch (call.kind) {
    case Kind::Caption:
        m_ui.setProgressCaption(call.text);
        break;
    case Kind::BarVisible:
        m_ui.setProgressBarVisible(call.number != 0);
        break;
    case Kind::Percent:
        m_ui.setProgressPercent(call.number);
        break;
    case Kind::CancelEnabled:
        m_ui.setCancelEnabled(call.number != 0);
        break;
    case Kind::ProgressHidden:
        m_ui.setProgressHidden(call.number != 0);
        break;
    case Kind::Password: {
        // The worker offers the password the run started with; one typed since is newer.
        const std::optional<QString> typed =
            m_ui.askPassword(call.text, m_typedPassword.value_or(call.offered));
        if (typed)
            m_typedPassword = typed;
        return typed;
    }
    case Kind::Turn:
        return QString();
    }
    return std::nullopt;
}

} // namespace brelix::run
