#pragma once

#include <QString>

namespace brelix::host {

// Column letters: 1 is A, 26 Z, 27 AA, 702 ZZ, 703 AAA, and so on without end.
QString columnLetters(int column);

// "C5", "AB120".
QString cellAddress(int row, int column);

} // namespace brelix::host
