#include "ui/run/ProgressWindow.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/run/ProgressBar.h"
#include "ui/widgets/GothicFont.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brelix::ui {

ProgressWindow::ProgressWindow(QWidget* owner, bool alwaysOnTop)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_status(
          new QLabel(QCoreApplication::translate("ProgressWindow", "LibreOffice起動中"), this)),
      m_bar(new ProgressBar(this)),
      m_cancelButton(new QPushButton(QCoreApplication::translate("ProgressWindow", "ｷｬﾝｾﾙ"), this))
{
    setWindowTitle(QStringLiteral("Brelix"));
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setFont(gothicFont(12));
    // 25 wide characters of the status's font; a longer status is shortened in its middle.
    m_status->setFixedWidth(m_status->fontMetrics().horizontalAdvance(u'あ') * 25);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setFont(gothicFont(12));
    m_bar->setFixedHeight(m_bar->fontMetrics().height() + 2);
    // The bar's place stays while it is hidden, so that the window keeps its size.
    QSizePolicy barPolicy = m_bar->sizePolicy();
    barPolicy.setRetainSizeWhenHidden(true);
    m_bar->setSizePolicy(barPolicy);
    m_bar->hide();
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setMinimumWidth(m_cancelButton->fontMetrics().horizontalAdvance(u'あ') * 9);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancelButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_cancelButton->setEnabled(false);
    m_cancelButton->setDefault(true);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { m_cancel = true; });

    // Centred vertically on the main window, at its left, at the size its layout gives it.
    adjustSize();
    if (owner) {
        const QRect main = owner->frameGeometry();
        move(main.left(), main.top() + (main.height() - frameGeometry().height()) / 2);
    }
    if (alwaysOnTop)
        setStaysOnTop(this, true);
}

void ProgressWindow::setStatus(const QString& status)
{
    m_status->setText(
        m_status->fontMetrics().elidedText(status, Qt::ElideMiddle, m_status->width()));
    m_status->setToolTip(status);
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
