#pragma once

#include "core/run/OrderedItems.h"
#include "core/run/RunUi.h"

namespace brelix::run {

// The screen of one worker of a run that several offices work on: what the item at hand
// shows is kept for the run's screen, which plays it in item order; a question waits for the
// item's turn. Its events are the run's business, its cancel flag the run's. Once the run has
// ended, an office the worker kept may serve the run on: its waits let the run's screen answer.
class WorkerRunUi : public RunUi {
public:
    explicit WorkerRunUi(OrderedItems& items) : m_items(items) {}

    void beginItem(int item) { m_item = item; }
    // Waits until every item before the one at hand has finished; false when the run stopped.
    bool waitForTurn();

    void showProgress(const QString& caption) override;
    void setProgressCaption(const QString& caption) override;
    void setProgressBarVisible(bool visible) override;
    void setProgressPercent(int percent) override;
    void setCancelEnabled(bool enabled) override;
    void setProgressHidden(bool hidden) override;
    void closeProgress() override {}
    void processEvents() override;
    void clearCancel() override {}
    bool cancelRequested() const override { return m_items.cancelRequested(); }
    std::optional<QString> askPassword(const QString& book, const QString& offered) override;
    // An item's work shows no message and no report.
    MessageAnswer showMessage(const RunMessage&) override { return MessageAnswer::No; }
    void showErrorReport(const QString&) override {}

private:
    void show(OrderedItems::ScreenCall::Kind kind, int number, const QString& text = {});

    OrderedItems& m_items;
    int m_item = 0;
};

} // namespace brelix::run
