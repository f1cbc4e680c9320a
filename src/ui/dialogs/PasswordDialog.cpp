#include "ui/dialogs/PasswordDialog.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brelix::ui {

PasswordDialog::PasswordDialog(QWidget* parent, const QString& book, const QString& password)
    : QDialog(parent)
{
    // Made in this order: the edit overlaps its label and must lie above it.
    auto* bookLabel = new QLabel(QStringLiteral("ﾌｧｲﾙ名　： ") + book, this);
    auto* passwordLabel = new QLabel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞ ："), this);
    m_passwordEdit = new QLineEdit(this);
    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    auto* cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    bookLabel->setObjectName(QStringLiteral("bookLabel"));
    passwordLabel->setObjectName(QStringLiteral("passwordLabel"));
    m_passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    setWindowTitle(QStringLiteral("シートのパスワードを入力して下さい"));
    setFixedSize(twips(3450), twips(1470));
    setFont(gothicFont());
    bookLabel->setGeometry(twipsRect(120, 240, 3255, 255));
    passwordLabel->setGeometry(twipsRect(120, 600, 1080, 270));
    m_passwordEdit->setGeometry(twipsRect(960, 587, 2325, 270));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_passwordEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    okButton->setGeometry(twipsRect(960, 960, 1140, 390));
    okButton->setDefault(true);
    cancelButton->setGeometry(twipsRect(2160, 960, 1140, 390));
    setTabOrder(m_passwordEdit, okButton);
    setTabOrder(okButton, cancelButton);
    if (!password.isEmpty()) {
        m_passwordEdit->setText(password);
        m_passwordEdit->selectAll(); // Enter reuses it, typing replaces it
    }
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    setStaysOnTop(this, true);
    m_passwordEdit->setFocus();
}

std::optional<QString> PasswordDialog::ask(QWidget* parent, const QString& book,
                                           const QString& password)
{
    PasswordDialog dialog(parent, book, password);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_passwordEdit->text();
}

} // namespace brelix::ui
