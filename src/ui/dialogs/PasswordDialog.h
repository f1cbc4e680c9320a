#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

namespace brelix::ui {

// Asks for the password of a protected sheet, offering the one typed last.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(QWidget* parent, const QString& passBook, const QString& password);

    // Shows the dialog modally: the typed text on OK (also when empty), nothing on cancel.
    static std::optional<QString> ask(QWidget* parent, const QString& passBook,
                                      const QString& password);

    QLabel* lblFile;
    QLabel* lblPassword;
    QLineEdit* txtPass;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
};

} // namespace brelix::ui
