#include "ui/run/ProgressWindow.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/Twips.h"

#include <QCloseEvent>

namespace brelix::ui {

ProgressWindow::ProgressWindow(QWidget* owner, bool alwaysOnTop)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      lblTitle(new QLabel(QStringLiteral("Excel起動中"), this)), picBar(new QLabel(this)),
      cmdCancel(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this))
{
    setWindowTitle(QStringLiteral("Brelix"));
    setFixedSize(twips(6270), twips(1305));
    lblTitle->setGeometry(twipsRect(120, 120, 6015, 375));
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setFont(gothicFont(12));
    picBar->setGeometry(twipsRect(120, 480, 6015, 300));
    picBar->setFont(gothicFont(12));
    picBar->setFrameShape(QFrame::Panel);
    picBar->setFrameShadow(QFrame::Sunken);
    picBar->hide();
    cmdCancel->setGeometry(twipsRect(2280, 890, 1680, 325));
    cmdCancel->setEnabled(false);
    cmdCancel->setDefault(true);
    connect(cmdCancel, &QPushButton::clicked, this, &ProgressWindow::cmdCancel_Click);

    // Centred vertically on the main window, at its left.
    if (owner) {
        const QRect main = owner->frameGeometry();
        move(main.left(), main.top() + (main.height() - frameGeometry().height()) / 2);
    }
    if (alwaysOnTop)
        setStaysOnTop(this, true);
}

void ProgressWindow::cmdCancel_Click()
{
    m_cancel = true;
}

void ProgressWindow::closeEvent(QCloseEvent* event)
{
    // Only the job closes it; the frame's close would leave the job without its window.
    event->ignore();
}

} // namespace brelix::ui
