#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace brelix::ui {

class ProgressBar;

// The progress window of the long jobs: a status line, a percentage bar and a cancel button.
// It runs nothing itself; the job writes to it and reads the cancel flag.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    // Owned by the main window: above it, minimised and restored with it.
    ProgressWindow(QWidget* owner, bool alwaysOnTop);

    void setStatus(const QString& status);
    void setBarVisible(bool visible);
    void setPercent(int percent);
    void setCancelEnabled(bool enabled);

    bool cancelled() const { return m_cancel; }
    void clearCancel() { m_cancel = false; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_status;
    ProgressBar* m_bar;
    QPushButton* m_cancelButton;
    bool m_cancel = false;
};

} // namespace brelix::ui
