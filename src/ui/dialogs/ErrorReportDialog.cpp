#include "ui/dialogs/ErrorReportDialog.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/Twips.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace brelix::ui {

ErrorReportDialog::ErrorReportDialog(QWidget* parent, const QString& report)
    : QDialog(parent), m_report(new QPlainTextEdit(this)),
      m_okButton(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral("予期せぬエラー"));
    setFont(gothicFont());
    setFixedSize(twips(6255), twips(5655));
    m_report->setObjectName(QStringLiteral("report"));
    m_report->setGeometry(twipsRect(120, 120, 6015, 4935));
    m_report->setReadOnly(true);
    m_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_report->setPlainText(QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setGeometry(twipsRect(2640, 5160, 1095, 375));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    setStaysOnTop(this, true);
}

void ErrorReportDialog::show(QWidget* parent, const QString& report)
{
    ErrorReportDialog dialog(parent, report);
    dialog.exec();
}

} // namespace brelix::ui
