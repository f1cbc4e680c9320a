#include "ui/widgets/FixedPitchLabel.h"

#include <QPainter>

namespace brelix::ui {

FixedPitchLabel::FixedPitchLabel(int pitch, QWidget* parent) : QLabel(parent), m_pitch(pitch) {}

void FixedPitchLabel::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const int ascent = fontMetrics().ascent();
    int top = 0;
    for (const QString& line : text().split(u'\n')) {
        painter.drawText(QPoint(0, top + ascent), line);
        top += m_pitch;
    }
}

} // namespace brelix::ui
