#include "ui/run/ProgressBar.h"

#include <QImage>
#include <QPainter>
#include <cmath>

namespace brelix::ui {

namespace {

const QColor kBackground(255, 255, 255);
const QColor kBar(0, 0, 128);

} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

void ProgressBar::setPercent(int percent)
{
    m_percent = percent;
    update();
}

void ProgressBar::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!m_percent)
        return;
    const QRect area = contentsRect();
    const float fraction = std::min(static_cast<float>(*m_percent) / 100.0f, 1.0f);
    const int filled =
        static_cast<int>(std::nearbyint(fraction * static_cast<float>(area.width())));

    // Drawn into an opaque image first: the raster operation below needs plain RGB pixels.
    QImage image(area.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), kBackground);
    painter.setFont(font());
    painter.setPen(kBar);
    painter.drawText(image.rect(), Qt::AlignCenter, QString::number(*m_percent) + u'%');
    // NOT(source XOR destination) with the bar colour turns white into navy and navy into white.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    if (filled > 0)
        painter.fillRect(0, 0, filled, area.height(), kBar);
    if (filled < area.width())
        painter.fillRect(filled, 0, area.width() - filled, area.height(), kBackground);
    painter.end();

    QPainter(this).drawImage(area.topLeft(), image);
}

} // namespace brelix::ui
