#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

namespace brelix::ui {

// The windows are laid out in twips: 15 to a pixel at 96 dots per inch.
constexpr int twips(int value)
{
    return value / 15;
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return {twips(left), twips(top), twips(width), twips(height)};
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

} // namespace brelix::ui
