#include "ui/run/ProgressBar.h"

#include <QPainter>
#include <cmath>

namespace brelix::ui {

void drawProgressBar(QLabel* picture, qint16 percent)
{
    const float fraction = static_cast<float>(percent) / 100.0f;
    drawProgressBarFraction(picture, fraction, QString::number(percent) + QLatin1Char('%'),
                            QColor(255, 255, 255), QColor(0, 0, 128));
}

void drawProgressBarFraction(QLabel* picture, float fraction, const QString& text,
                             const QColor& background, const QColor& bar)
{
    picture->setPixmap(QPixmap::fromImage(progressBarImage(
        picture->contentsRect().size(), picture->font(), fraction, text, background, bar)));
}

QImage progressBarImage(const QSize& size, const QFont& font, float fraction, const QString& text,
                        const QColor& background, const QColor& bar)
{
    fraction = std::min(fraction, 1.0f);
    const int width = size.width();
    const int height = size.height();
    const int filled = static_cast<int>(std::nearbyint(fraction * static_cast<float>(width)));

    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width, height, background);
    painter.setFont(font);
    painter.setPen(bar);
    painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter, text);
    // NOT(pen XOR screen) with the bar colour turns white into navy and navy into white.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    if (filled > 0)
        painter.fillRect(0, 0, filled, height, bar);
    if (filled < width)
        painter.fillRect(filled, 0, width - filled, height, background);
    return image;
}

} // namespace brelix::ui
