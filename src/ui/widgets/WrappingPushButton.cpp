#include "ui/widgets/WrappingPushButton.h"

#include "ui/widgets/LineBreaks.h"

#include <QFontInfo>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace brelix::ui {

QSize WrappingPushButton::sizeHint() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear(); // the style's least width is for one-line captions
    // A sixth of an em to spare on each side, so that the caption does not touch the bevel.
    const QSize lines(twoLineWidth(text(), fontMetrics()) + QFontInfo(font()).pixelSize() / 3,
                      2 * fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, lines, this);
}

void WrappingPushButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const QString lines = breakIntoLines(text(), fontMetrics(), area.width()).join(u'\n');
    painter.drawItemText(area, Qt::AlignCenter, palette(), isEnabled(), lines,
                         QPalette::ButtonText);
}

} // namespace brelix::ui
