#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace brelix::ui {

// The progress window of the long jobs: a status line, a percentage bar and a cancel button.
// It runs nothing itself; the job writes to it and reads the cancel flag.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    // Owned by the main window: above it, minimised and restored with it.
    ProgressWindow(QWidget* owner, bool alwaysOnTop);

    QLabel* lblTitle;
    QLabel* picBar;
    QPushButton* cmdCancel;

    bool cancelled() const { return m_cancel; }
    void clearCancel() { m_cancel = false; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void cmdCancel_Click();

    bool m_cancel = false;
};

} // namespace brelix::ui
