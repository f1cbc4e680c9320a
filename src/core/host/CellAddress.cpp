#include "core/host/CellAddress.h"

namespace brelix::host {

QString columnLetters(int column)
{
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters;
}

QString cellAddress(int row, int column)
{
    return columnLetters(column) + QString::number(row);
}

} // namespace brelix::host
