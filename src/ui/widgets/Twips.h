#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

namespace brelix::ui {

// The windows' geometry is written in twips, 1/1440 of an inch: 15 twips to a pixel at 96 dots
// per inch. The settings file keeps the main window's position in the same unit.
constexpr int twips(int value)
{
    return value / 15;
}

constexpr int pixelsToTwips(int pixels)
{
    return pixels * 15;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
}

// Sets the widget's geometry in twips and hands it back, for building a screen in one line a
// control.
template <typename Widget>
Widget* placeInTwips(Widget* widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

// "ＭＳ ゴシック" where it exists, else a Japanese Gothic face that renders the same texts.
inline QFont gothicFont(int points = 9)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans Mono CJK JP")});
    font.setPointSize(points);
    return font;
}

// The proportional "ＭＳ Ｐゴシック" of the small buttons and the colour dialog.
inline QFont proportionalGothicFont()
{
    QFont font = gothicFont();
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    return font;
}

} // namespace brelix::ui
