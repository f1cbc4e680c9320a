#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace brelix::host {

// Column letters: 1 is A, 26 Z, 27 AA, 702 ZZ, 703 AAA, and so on without end.
QString columnLetters(int column);

// The last column a sheet can have, XFD.
inline constexpr int kLastColumn = 16384;

// The column of its letters, either case ("c" is 3); nothing for no letters or past the last
// column.
std::optional<int> columnNumber(QStringView letters);

// A list of column letters such as "A" or "b, D", as numbers from 1 in the order given. Nothing
// for an empty list, a name that is no column, a column named twice, or more than `most`.
std::optional<QList<int>> columnList(const QString& text, int most);
// The list as columnList reads it back: letters joined by commas ("A,C").
QString columnListText(const QList<int>& columns);

// "C5", "AB120".
QString cellAddress(int row, int column);

} // namespace brelix::host
