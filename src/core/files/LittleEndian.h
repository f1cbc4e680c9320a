#pragma once

#include <QByteArray>
#include <QtEndian>

namespace brelix::files {

// Numbers stored least significant byte first, as workbook containers store them; the caller
// has checked that the bytes reach that far.
inline quint16 u16(const QByteArray& bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

inline quint32 u32(const QByteArray& bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

} // namespace brelix::files
