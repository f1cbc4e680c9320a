#pragma once

#include <QString>
#include <rtl/ustring.hxx>

using rtl::OUString;

namespace brelix::libreoffice {

// Both sides are UTF-16; no conversion beyond the copy.
inline OUString toOUString(const QString& s)
{
    return OUString(reinterpret_cast<const sal_Unicode*>(s.utf16()), s.size());
}

inline QString toQString(const OUString& s)
{
    return QString(reinterpret_cast<const QChar*>(s.getStr()), s.getLength());
}

} // namespace brelix::libreoffice
