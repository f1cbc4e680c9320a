#include "ui/dialogs/PasswordDialog.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/GothicFont.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brelix::ui {

PasswordDialog::PasswordDialog(QWidget* parent, const QString& book, const QString& password)
    : QDialog(parent)
{
    auto* bookLabel =
        new QLabel(QCoreApplication::translate("PasswordDialog", "ﾌｧｲﾙ名　： ") + book, this);
    auto* passwordLabel =
        new QLabel(QCoreApplication::translate("PasswordDialog", "ﾊﾟｽﾜｰﾄﾞ ："), this);
    m_passwordEdit = new QLineEdit(this);
    auto* okButton = new QPushButton(QStringLiteral("&OK"), this);
    auto* cancelButton =
        new QPushButton(QCoreApplication::translate("PasswordDialog", "ｷｬﾝｾﾙ"), this);
    bookLabel->setObjectName(QStringLiteral("bookLabel"));
    // A long path is shortened in its middle, so that the dialog stays on the screen.
    setFont(gothicFont());
    bookLabel->setText(fontMetrics().elidedText(bookLabel->text(), Qt::ElideMiddle,
                                                fontMetrics().horizontalAdvance(u'あ') * 40));
    bookLabel->setToolTip(book);
    passwordLabel->setObjectName(QStringLiteral("passwordLabel"));
    m_passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    setWindowTitle(
        QCoreApplication::translate("PasswordDialog", "シートのパスワードを入力して下さい"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(bookLabel, 0, 0, 1, 2);
    grid->addWidget(passwordLabel, 1, 0);
    grid->addWidget(m_passwordEdit, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    m_passwordEdit->setMinimumWidth(fontMetrics().horizontalAdvance(u'あ') * 13);
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_passwordEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    okButton->setDefault(true);
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
