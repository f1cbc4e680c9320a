#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace brelix::ui {

// The report of an unexpected failure, to read and copy.
class ErrorReportDialog : public QDialog {
    Q_OBJECT
public:
    ErrorReportDialog(QWidget* parent, const QString& report);

    // Shows the report modally until the user presses OK.
    static void show(QWidget* parent, const QString& report);

private:
    QPlainTextEdit* m_report;
    QPushButton* m_okButton;
};

} // namespace brelix::ui
