#pragma once

#include <QString>
#include <optional>

namespace brelix::host {

// Column letters: 1 is A, 26 Z, 27 AA, 702 ZZ, 703 AAA, and so on without end.
QString columnLetters(int column);

// The column of its letters, either case ("c" is 3); nothing for no letters or past column
// 16384 (XFD), the last a sheet can have.
std::optional<int> columnNumber(QStringView letters);

// "C5", "AB120".
QString cellAddress(int row, int column);

} // namespace brelix::host
