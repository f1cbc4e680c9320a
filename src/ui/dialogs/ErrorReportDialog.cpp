#include "ui/dialogs/ErrorReportDialog.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/GothicFont.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace brelix::ui {

ErrorReportDialog::ErrorReportDialog(QWidget* parent, const QString& report)
    : QDialog(parent), m_report(new QPlainTextEdit(this)),
      m_okButton(new QPushButton(QStringLiteral("&OK"), this))
{
    setWindowTitle(QCoreApplication::translate("ErrorReportDialog", "予期せぬエラー"));
    setFont(gothicFont());
    m_report->setObjectName(QStringLiteral("report"));
    // About 33 wide characters by 20 lines at any font.
    m_report->setMinimumSize(fontMetrics().horizontalAdvance(u'あ') * 33,
                             fontMetrics().lineSpacing() * 20);
    m_report->setReadOnly(true);
    m_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_report->setPlainText(QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_report, 1);
    layout->addWidget(m_okButton, 0, Qt::AlignHCenter);
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
