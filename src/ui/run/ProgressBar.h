#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>

namespace brelix::ui {

// Draws a percentage bar into the picture: navy on white, the text centred, the part of the
// text inside the bar white on navy.
void drawProgressBar(QLabel* picture, qint16 percent);

void drawProgressBarFraction(QLabel* picture, float fraction, const QString& text,
                             const QColor& background, const QColor& bar);

// The drawing itself, into an image of the given size, for the picture and for tests.
QImage progressBarImage(const QSize& size, const QFont& font, float fraction, const QString& text,
                        const QColor& background, const QColor& bar);

} // namespace brelix::ui
