#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

namespace brelix::ui {

// The report of an unexpected failure, to read and copy.
class frmErr : public QDialog {
    Q_OBJECT
public:
    frmErr(QWidget* parent, const QString& errText);

    // Shows the report modally until the user presses OK.
    static void show(QWidget* parent, const QString& errText);

    QPlainTextEdit* txtErr;
    QPushButton* cmdEnd;
};

} // namespace brelix::ui
