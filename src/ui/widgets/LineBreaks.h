#pragma once

#include <QFontMetrics>
#include <QStringList>

namespace brelix::ui {

// The text broken character by character into lines no wider than `width` (the captions are
// Japanese, which breaks anywhere).
QStringList breakIntoLines(const QString& text, const QFontMetrics& metrics, int width);

// The narrowest width at which the text takes at most two lines.
int twoLineWidth(const QString& text, const QFontMetrics& metrics);

} // namespace brelix::ui
