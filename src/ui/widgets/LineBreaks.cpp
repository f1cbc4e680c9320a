#include "ui/widgets/LineBreaks.h"

namespace brelix::ui {

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

int twoLineWidth(const QString& text, const QFontMetrics& metrics)
{
    int width = (metrics.horizontalAdvance(text) + 1) / 2;
    while (breakIntoLines(text, metrics, width).size() > 2)
        ++width;
    return width;
}

} // namespace brelix::ui
