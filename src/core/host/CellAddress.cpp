#include "core/host/CellAddress.h"

#include <QStringList>

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

std::optional<QList<int>> columnList(const QString& text, int most)
{
    QList<int> columns;
    for (const QString& name : text.split(u',')) {
        const std::optional<int> column = columnNumber(QStringView(name).trimmed());
        if (!column || columns.contains(*column))
            return std::nullopt;
        columns.append(*column);
    }
    if (columns.size() > most)
        return std::nullopt;
    return columns;
}

QString columnListText(const QList<int>& columns)
{
    QStringList names;
    for (const int column : columns)
        names.append(columnLetters(column));
    return names.join(u',');
}

QString cellAddress(int row, int column)
{
    return columnLetters(column) + QString::number(row);
}

} // namespace brelix::host
