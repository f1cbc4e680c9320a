#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QStringList>

namespace brelix::ui {

// "ＭＳ ゴシック" where it exists, else a Japanese Gothic face that renders the same texts. The
// size follows the desktop's font: `points` at its 9 points, larger for a larger desktop font.
inline QFont gothicFont(int points = 9)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans Mono CJK JP")});
    const qreal desktop = QGuiApplication::font().pointSizeF();
    font.setPointSizeF(desktop > 9 ? points * desktop / 9 : points);
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
