#pragma once

#include "core/run/RunUi.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

namespace brelix::run {

// The items of a run that several offices work on at once: handed out in order, one to each
// worker that asks, and what each item showed on its screen kept until the run's screen plays
// it in item order. The user so sees what one office working through the items would have
// shown: the same captions, percentages, questions and their order, only sooner.
class OrderedItems {
public:
    // One call of an item's screen.
    struct ScreenCall {
        enum class Kind {
            Caption,
            BarVisible,
            Percent,
            CancelEnabled,
            ProgressHidden,
            Password,
            Turn
        };
        Kind kind = Kind::Caption;
        QString text;    // the caption; the workbook of a password question
        QString offered; // the password a question offers
        int number = 0;
    };

    OrderedItems(RunUi& ui, int count);

    // The worker side; any thread.
    // The next item nobody took, in order; nothing once all are taken or the run stopped.
    std::optional<int> takeNext();
    void show(int item, ScreenCall call);
    // A call that waits for its turn on the run's screen: the answer to a password question
    // (nothing: the user cancelled), an empty text once every item before has finished;
    // nothing when the run stopped before the call's turn.
    std::optional<QString> ask(int item, ScreenCall call);
    void finish(int item);
    bool cancelRequested() const { return m_ended ? m_ui.cancelRequested() : m_cancelled.load(); }
    // After the run, what the workers' screens are asked goes to the run's screen itself.
    bool ended() const { return m_ended; }
    RunUi& runUi() { return m_ui; }

    // The run side, on the thread of the run's screen.
    // Plays the item's calls as they come, letting the screen's events run meanwhile, until it
    // has finished (true), or the run was cancelled before anybody took it (false).
    bool playUntilFinished(int item);
    // No item is handed out any more, no waiting call waits; the workers' screens read cancel.
    void stop(bool cancelled);
    void end() { m_ended = true; }
    // The password the user typed last in this run, if any.
    std::optional<QString> typedPassword() const { return m_typedPassword; }

private:
    struct Item {
        std::vector<ScreenCall> calls;
        std::size_t played = 0;
        bool taken = false;
        bool finished = false;
        std::optional<std::optional<QString>> answer;
    };

    std::optional<QString> play(const ScreenCall& call);

    RunUi& m_ui;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Item> m_items;
    int m_next = 0;
    bool m_stopped = false;
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_ended{false};
    std::optional<QString> m_typedPassword;
};

} // namespace brelix::run
