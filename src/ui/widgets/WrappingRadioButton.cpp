#include "ui/widgets/WrappingRadioButton.h"

#include <QFontInfo>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace brelix::ui {

namespace {

// Character by character: the captions are Japanese, which breaks anywhere.
QStringList breakIntoLines(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList lines;
    QString line;
    for (const QChar c : text) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + c) > width) {
            lines.append(line);
            line.clear();
        }
        line += c;
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

} // namespace

void WrappingRadioButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_RadioButton, option);
    option.rect = rect();
    const QRect area = style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);

    // Lines one em apart: two lines of a 9 point font fit the option's 25 pixels, which the
    // font's own line spacing would overflow into the next option.
    const QStringList lines = breakIntoLines(caption, fontMetrics(), area.width());
    const int step = lines.size() > 1 ? QFontInfo(font()).pixelSize() : fontMetrics().height();
    int top = area.top() + (area.height() - step * static_cast<int>(lines.size())) / 2;
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    for (const QString& line : lines) {
        painter.drawText(QRect(area.left(), top, area.width(), step),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, line);
        top += step;
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area;
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace brelix::ui
