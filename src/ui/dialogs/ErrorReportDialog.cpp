#include "ui/dialogs/ErrorReportDialog.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/Twips.h"

namespace brelix::ui {

ErrorReportDialog::ErrorReportDialog(QWidget* parent, const QString& errText)
    : QDialog(parent), txtErr(new QPlainTextEdit(this)),
      cmdEnd(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral("予期せぬエラー"));
    setFont(gothicFont());
    setFixedSize(twips(6255), twips(5655));
    txtErr->setGeometry(twipsRect(120, 120, 6015, 4935));
    txtErr->setReadOnly(true);
    txtErr->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtErr->setPlainText(QString(errText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    cmdEnd->setGeometry(twipsRect(2640, 5160, 1095, 375));
    cmdEnd->setDefault(true);
    connect(cmdEnd, &QPushButton::clicked, this, &QDialog::accept);
    setStaysOnTop(this, true);
}

void ErrorReportDialog::show(QWidget* parent, const QString& errText)
{
    ErrorReportDialog dialog(parent, errText);
    dialog.exec();
}

} // namespace brelix::ui
