#pragma once

#include "core/run/RunUi.h"

#include <QPointer>
#include <QWidget>

namespace brelix::ui {

class ProgressWindow;

// The run's UI seam with the program's windows: the progress window, message boxes, the
// password prompt and the error report, all owned by the main window.
class GuiRunUi : public run::RunUi {
public:
    GuiRunUi(QWidget* mainWindow, bool alwaysOnTop);
    ~GuiRunUi() override;

    void showProgress(const QString& caption) override;
    void setProgressCaption(const QString& caption) override;
    void setProgressBarVisible(bool visible) override;
    void setProgressPercent(int percent) override;
    void setCancelEnabled(bool enabled) override;
    void setProgressHidden(bool hidden) override;
    void closeProgress() override;
    void processEvents() override;
    void clearCancel() override;
    bool cancelRequested() const override;
    std::optional<QString> askPassword(const QString& book, const QString& offered) override;
    run::MessageAnswer showMessage(const run::RunMessage& message) override;
    void showErrorReport(const QString& text) override;

private:
    QWidget* m_mainWindow;
    bool m_alwaysOnTop;
    QPointer<ProgressWindow> m_progress;
    bool m_cancel = false; // the flag outlives the window, as a press does until the next run
};

} // namespace brelix::ui
