#include "core/files/CompoundFile.h"

#include "core/files/LittleEndian.h"

#include <algorithm>
#include <vector>

namespace brelix::files {

namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr int kHeaderFatEntries = 109;
constexpr int kEntrySize = 128;
constexpr int kStreamEntry = 2;

const QString kCutShort = QStringLiteral("it is cut short or damaged");

} // namespace

std::optional<CompoundFile> CompoundFile::read(const QByteArray& bytes, QString& problem)
{
    if (bytes.size() < 512 || !bytes.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1"))) {
        problem = QStringLiteral("its bytes are not those of an .xls workbook");
        return std::nullopt;
    }
    CompoundFile file(bytes);
    const int shift = u16(bytes, 0x1E);
    if ((shift != 9 && shift != 12) || u16(bytes, 0x20) != 6) {
        problem = kCutShort;
        return std::nullopt;
    }
    file.m_sectorSize = 1 << shift;
    file.m_miniCutoff = u32(bytes, 0x38);
    // A last sector that writers left short still counts; its missing bytes read as zeros.
    file.m_sectorCount = (bytes.size() - 1) / file.m_sectorSize;
    if (!file.readAllocation(problem))
        return std::nullopt;
    return file;
}

bool CompoundFile::readAllocation(QString& problem)
{
    const quint32 fatSectors = u32(m_bytes, 0x2C);
    if (fatSectors == 0 || fatSectors > m_sectorCount) {
        problem = kCutShort;
        return false;
    }
    QList<quint32> fatAt;
    for (int i = 0; i < kHeaderFatEntries && quint32(fatAt.size()) < fatSectors; ++i)
        fatAt.append(u32(m_bytes, 0x4C + 4 * i));
    const int perSector = m_sectorSize / 4;
    quint32 more = u32(m_bytes, 0x44);
    while (quint32(fatAt.size()) < fatSectors) {
        if (more >= m_sectorCount) {
            problem = kCutShort;
            return false;
        }
        const QByteArray sector = m_bytes.mid((qint64(more) + 1) * m_sectorSize, m_sectorSize);
        for (int i = 0; i < perSector - 1 && quint32(fatAt.size()) < fatSectors; ++i)
            fatAt.append(u32(sector, 4 * i));
        more = u32(sector, 4 * (perSector - 1));
    }
    for (const quint32 at : fatAt) {
        if (at >= m_sectorCount) {
            problem = kCutShort;
            return false;
        }
        QByteArray sector = m_bytes.mid((qint64(at) + 1) * m_sectorSize, m_sectorSize);
        sector.resize(m_sectorSize, '\0');
        for (int i = 0; i < perSector; ++i)
            m_fat.append(u32(sector, 4 * i));
    }
    const std::optional<QByteArray> directory = chain(u32(m_bytes, 0x30), -1, false, problem);
    if (!directory || directory->size() < kEntrySize) {
        problem = kCutShort;
        return false;
    }
    m_directory = *directory;
    // The root entry holds the small streams, the mini allocation table says where.
    const std::optional<QByteArray> mini =
        chain(u32(m_directory, 0x74), u32(m_directory, 0x78), false, problem);
    const std::optional<QByteArray> miniFat =
        chain(u32(m_bytes, 0x3C), qint64(u32(m_bytes, 0x40)) * m_sectorSize, false, problem);
    if (!mini || !miniFat)
        return false;
    m_miniStream = *mini;
    for (qint64 at = 0; at + 4 <= miniFat->size(); at += 4)
        m_miniFat.append(u32(*miniFat, at));
    return true;
}

// The chain of sectors from `start` as a stream of `size` bytes, or of the whole chain when
// `size` is negative.
std::optional<CompoundFile::Stream> CompoundFile::chainStream(quint32 start, qint64 size, bool mini,
                                                              QString& problem) const
{
    const QList<quint32>& table = mini ? m_miniFat : m_fat;
    const qint64 unit = mini ? m_miniSectorSize : m_sectorSize;
    const qint64 units = mini ? m_miniStream.size() / unit : m_sectorCount;
    QList<qint64> starts;
    // A chain that comes back to a sector of its own would repeat its bytes, or never end.
    std::vector<bool> visited(units);
    quint32 sector = start;
    while (size != 0 && sector != kEndOfChain && (size < 0 || starts.size() * unit < size)) {
        if (sector >= units || sector >= quint32(table.size()) || visited[sector]) {
            problem = kCutShort;
            return std::nullopt;
        }
        visited[sector] = true;
        starts.append(mini ? qint64(sector) * unit : (qint64(sector) + 1) * unit);
        sector = table[sector];
    }
    if (size >= 0 && starts.size() * unit < size) {
        problem = kCutShort;
        return std::nullopt;
    }
    Stream stream;
    stream.m_source = mini ? &m_miniStream : &m_bytes;
    stream.m_units = starts;
    stream.m_unit = unit;
    stream.m_size = size >= 0 ? size : starts.size() * unit;
    return stream;
}

// The bytes of a chain of sectors from `start`, `size` of them, or the whole chain when
// `size` is negative.
std::optional<QByteArray> CompoundFile::chain(quint32 start, qint64 size, bool mini,
                                              QString& problem) const
{
    const std::optional<Stream> stream = chainStream(start, size, mini, problem);
    if (!stream)
        return std::nullopt;
    return stream->bytes(0, stream->size());
}

QByteArray CompoundFile::Stream::bytes(qint64 at, qint64 length) const
{
    length = std::min(length, m_size - at);
    QByteArray out;
    if (at < 0 || length <= 0)
        return out;
    out.reserve(length);
    while (length > 0) {
        const qint64 from = m_units[at / m_unit] + at % m_unit;
        const qint64 piece = std::min(length, m_unit - at % m_unit);
        // A last sector that writers left short reads as zeros.
        const qint64 present = std::clamp<qint64>(m_source->size() - from, 0, piece);
        out.append(m_source->constData() + from, present);
        out.append(piece - present, '\0');
        at += piece;
        length -= piece;
    }
    return out;
}

qint64 CompoundFile::entry(const QString& name) const
{
    for (qint64 at = 0; at + kEntrySize <= m_directory.size(); at += kEntrySize) {
        const int length = std::min(int(u16(m_directory, at + 0x40)) / 2 - 1, 31);
        if (m_directory.at(at + 0x42) != kStreamEntry || length < 0)
            continue;
        QString entryName;
        for (int i = 0; i < length; ++i)
            entryName.append(QChar(u16(m_directory, at + 2 * i)));
        if (entryName.compare(name, Qt::CaseInsensitive) == 0)
            return at;
    }
    return -1;
}

std::optional<QByteArray> CompoundFile::stream(const QString& name, QString& problem) const
{
    const std::optional<Stream> found = openStream(name, problem);
    if (!found)
        return std::nullopt;
    return found->bytes(0, found->size());
}

std::optional<CompoundFile::Stream> CompoundFile::openStream(const QString& name,
                                                             QString& problem) const
{
    const qint64 at = entry(name);
    if (at < 0) {
        problem = QStringLiteral("it holds no stream named %1").arg(name);
        return std::nullopt;
    }
    const quint32 size = u32(m_directory, at + 0x78);
    return chainStream(u32(m_directory, at + 0x74), size, size < m_miniCutoff, problem);
}

} // namespace brelix::files
