#include "ui/run/ProgressWindow.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/run/ProgressBar.h"
#include "ui/widgets/Twips.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace brelix::ui {

ProgressWindow::ProgressWindow(QWidget* owner, bool alwaysOnTop)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_status(new QLabel(QStringLiteral("LibreOffice起動中"), this)), m_bar(new ProgressBar(this)),
      m_cancelButton(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setWindowTitle(QStringLiteral("Brelix"));
    setFixedSize(twips(6270), twips(1305));
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setGeometry(twipsRect(120, 120, 6015, 375));
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setFont(gothicFont(12));
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setGeometry(twipsRect(120, 480, 6015, 300));
    m_bar->setFont(gothicFont(12));
    m_bar->hide();
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setGeometry(twipsRect(2280, 890, 1680, 325));
    m_cancelButton->setEnabled(false);
    m_cancelButton->setDefault(true);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { m_cancel = true; });

    // Centred vertically on the main window, at its left.
    if (owner) {
        const QRect main = owner->frameGeometry();
        move(main.left(), main.top() + (main.height() - frameGeometry().height()) / 2);
    }
    if (alwaysOnTop)
        setStaysOnTop(this, true);
}

void ProgressWindow::setStatus(const QString& status)
{
    m_status->setText(status);
}

void ProgressWindow::setBarVisible(bool visible)
{
    m_bar->setVisible(visible);
}

void ProgressWindow::setPercent(int percent)
{
    m_bar->setPercent(percent);
}

void ProgressWindow::setCancelEnabled(bool enabled)
{
    m_cancelButton->setEnabled(enabled);
}

void ProgressWindow::closeEvent(QCloseEvent* event)
{
    // Only the job closes it; the frame's close would leave the job without its window.
    event->ignore();
}

void ProgressWindow::keyPressEvent(QKeyEvent* event)
{
    // Esc would hide the window as a dialog's reject does, leaving the job without its cancel
    // button.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace brelix::ui
