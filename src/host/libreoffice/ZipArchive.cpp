#include "host/libreoffice/ZipArchive.h"

#include "core/files/LittleEndian.h"

#include <zlib.h>

namespace brelix::libreoffice {

namespace {

using files::u16;
using files::u32;

constexpr quint32 kEndRecord = 0x06054b50;
constexpr quint32 kCentralEntry = 0x02014b50;
constexpr quint32 kLocalHeader = 0x04034b50;
constexpr qint64 kEndRecordSize = 22;
constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;
// More than any workbook part this program reads; a larger claim is a damaged archive.
constexpr quint32 kLargestMember = 512u << 20;

} // namespace

std::optional<ZipArchive> ZipArchive::read(const QByteArray& bytes)
{
    // The end record closes the archive, followed by a comment of up to 64 KiB.
    qint64 end = bytes.size() - kEndRecordSize;
    const qint64 earliest = std::max<qint64>(0, end - 0xFFFF);
    while (end >= earliest && u32(bytes, end) != kEndRecord)
        --end;
    if (end < earliest)
        return std::nullopt;
    ZipArchive archive(bytes);
    const int count = u16(bytes, end + 10);
    qint64 at = u32(bytes, end + 16);
    for (int i = 0; i < count; ++i) {
        if (at + 46 > end || u32(bytes, at) != kCentralEntry)
            return std::nullopt;
        const int nameLength = u16(bytes, at + 28);
        Entry entry{u16(bytes, at + 10), u32(bytes, at + 20), u32(bytes, at + 24),
                    u32(bytes, at + 42)};
        archive.m_entries.insert(QString::fromUtf8(bytes.mid(at + 46, nameLength)), entry);
        at += 46 + nameLength + u16(bytes, at + 30) + u16(bytes, at + 32);
    }
    return archive;
}

std::optional<QByteArray> ZipArchive::member(const QString& name) const
{
    const auto found = m_entries.constFind(name);
    if (found == m_entries.cend())
        return std::nullopt;
    const Entry& entry = *found;
    const qint64 header = entry.offset;
    if (header + 30 > m_bytes.size() || u32(m_bytes, header) != kLocalHeader ||
        entry.size > kLargestMember)
        return std::nullopt;
    const qint64 start = header + 30 + u16(m_bytes, header + 26) + u16(m_bytes, header + 28);
    if (start + entry.packedSize > m_bytes.size())
        return std::nullopt;
    if (entry.method == kStored)
        return m_bytes.mid(start, entry.packedSize);
    if (entry.method != kDeflated)
        return std::nullopt;

    QByteArray unpacked(entry.size, Qt::Uninitialized);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) // raw deflate, as zip members are
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(m_bytes.constData() + start));
    stream.avail_in = entry.packedSize;
    stream.next_out = reinterpret_cast<Bytef*>(unpacked.data());
    stream.avail_out = entry.size;
    const int status = inflate(&stream, Z_FINISH);
    const bool whole = status == Z_STREAM_END && stream.total_out == entry.size;
    inflateEnd(&stream);
    if (!whole)
        return std::nullopt;
    return unpacked;
}

} // namespace brelix::libreoffice
