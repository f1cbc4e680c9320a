#include "ui/dialogs/PasswordDialog.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/Twips.h"

namespace brelix::ui {

PasswordDialog::PasswordDialog(QWidget* parent, const QString& passBook, const QString& password)
    : QDialog(parent), lblFile(new QLabel(QStringLiteral("ﾌｧｲﾙ名　： ") + passBook, this)),
      lblPassword(new QLabel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞ ："), this)), txtPass(new QLineEdit(this)),
      cmdOk(new QPushButton(QStringLiteral("OK"), this)),
      cmdCancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setWindowTitle(QStringLiteral("シートのパスワードを入力して下さい"));
    setFixedSize(twips(3450), twips(1470));
    setFont(gothicFont());
    lblFile->setGeometry(twipsRect(120, 240, 3255, 255));
    lblPassword->setGeometry(twipsRect(120, 600, 1080, 270));
    txtPass->setGeometry(twipsRect(960, 587, 2325, 270));
    txtPass->setEchoMode(QLineEdit::Password);
    txtPass->setAttribute(Qt::WA_InputMethodEnabled, false);
    cmdOk->setGeometry(twipsRect(960, 960, 1140, 390));
    cmdOk->setDefault(true);
    cmdCancel->setGeometry(twipsRect(2160, 960, 1140, 390));
    setTabOrder(txtPass, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    if (!password.isEmpty()) {
        txtPass->setText(password);
        txtPass->selectAll(); // Enter reuses it, typing replaces it
    }
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    setStaysOnTop(this, true);
    txtPass->setFocus();
}

std::optional<QString> PasswordDialog::ask(QWidget* parent, const QString& passBook,
                                           const QString& password)
{
    PasswordDialog dialog(parent, passBook, password);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.txtPass->text();
}

} // namespace brelix::ui
