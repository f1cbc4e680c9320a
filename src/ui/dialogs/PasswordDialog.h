#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

namespace brelix::ui {

// Asks for the password of a protected sheet, offering the one typed last.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(QWidget* parent, const QString& book, const QString& password);

    // Shows the dialog modally: the typed text on OK (also when empty), nothing on cancel.
    static std::optional<QString> ask(QWidget* parent, const QString& book,
                                      const QString& password);

private:
    QLineEdit* m_passwordEdit;
};

} // namespace brelix::ui
