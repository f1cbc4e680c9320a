#include "ui/widgets/WrappingRadioButton.h"

#include "ui/widgets/LineBreaks.h"

#include <QFontInfo>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace brelix::ui {

QSize WrappingRadioButton::sizeHint() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QSize lines(twoLineWidth(text(), fontMetrics()), 2 * lineStep());
    return style()->sizeFromContents(QStyle::CT_RadioButton, &option, lines, this);
}

// Lines 1.2 em apart: clear of each other, where the face's own line spacing, with the
// leading of Japanese faces, would make the four print scopes far taller than the list.
int WrappingRadioButton::lineStep() const
{
    return (QFontInfo(font()).pixelSize() * 6 + 4) / 5;
}

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

    const QStringList lines = breakIntoLines(caption, fontMetrics(), area.width());
    const int step = lineStep();
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
