#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

namespace brelix::ui {

// The report of an unexpected failure, to read and copy.
class ErrorReportDialog : public QDialog {
    Q_OBJECT
public:
    ErrorReportDialog(QWidget* parent, const QString& errText);

    // Shows the report modally until the user presses OK.
    static void show(QWidget* parent, const QString& errText);

    QPlainTextEdit* txtErr;
    QPushButton* cmdEnd;
};

} // namespace brelix::ui
