#include "core/host/CellAddress.h"

namespace brelix::host {

QString columnLetters(int column)
{
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters;
}

std::optional<int> columnNumber(QStringView letters)
{
    constexpr int kLastColumn = 16384;
    if (letters.isEmpty() || letters.size() > 3)
        return std::nullopt;
    int column = 0;
    for (const QChar c : letters) {
        const QChar upper = c.toUpper();
        if (upper < u'A' || upper > u'Z')
            return std::nullopt;
        column = column * 26 + (upper.unicode() - u'A' + 1);
    }
    return column <= kLastColumn ? std::optional<int>(column) : std::nullopt;
}

QString cellAddress(int row, int column)
{
    return columnLetters(column) + QString::number(row);
}

} // namespace brelix::host
