#pragma once

#include "SheetContent.h"
#include "core/host/CellRange.h"
#include "core/host/HostError.h"

#include <QString>
#include <ostream>

// Readable values in GoogleTest failure messages; lists print element by element.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace brelix::host {

inline void PrintTo(HostError::Kind kind, std::ostream* os)
{
    constexpr const char* names[] = {"General",        "NotFound",      "OpenFailed",
                                     "SheetProtected", "WrongPassword", "NameRefused",
                                     "PrintFailed",    "StartFailed",   "Unavailable"};
    *os << names[static_cast<int>(kind)];
}

inline void PrintTo(const CellPosition& cell, std::ostream* os)
{
    *os << "(row " << cell.row << ", column " << cell.column << ')';
}

} // namespace brelix::host

namespace brelix::support {

inline void PrintTo(const CellBorders& b, std::ostream* os)
{
    *os << "{left " << b.left << ", top " << b.top << ", right " << b.right << ", bottom "
        << b.bottom << '}';
}

} // namespace brelix::support
