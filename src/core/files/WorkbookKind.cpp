#include "core/files/WorkbookKind.h"

#include "core/files/CompoundFile.h"
#include "core/files/LittleEndian.h"

#include <QFile>
#include <QFileInfo>

namespace brelix::files {

namespace {

constexpr quint16 kBeginOfFile = 0x0809;
constexpr quint16 kEndOfFile = 0x000A;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kFilePass = 0x002F;
constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kBiff5 = 0x0500;
constexpr quint8 kWorksheet = 0;

// A sheet's name as a BOUNDSHEET record holds it: a count, then in BIFF8 a flag for two-byte
// characters.
QString boundSheetName(const QByteArray& record, bool biff8)
{
    const int count = quint8(record.at(6));
    const bool wide = biff8 && (record.at(7) & 1);
    const qint64 first = biff8 ? 8 : 7;
    QString name;
    for (int i = 0; i < count; ++i) {
        const qint64 at = first + (wide ? 2 * i : i);
        if (at + (wide ? 2 : 1) > record.size())
            break;
        name.append(wide ? QChar(u16(record, at)) : QChar(char16_t(quint8(record.at(at)))));
    }
    return name;
}

bool startsSubstream(const CompoundFile::Stream& stream, qint64 at)
{
    return at >= 0 && at + 4 <= stream.size() && u16(stream.bytes(at, 2), 0) == kBeginOfFile;
}

} // namespace

std::optional<WorkbookKind::Format> WorkbookKind::fromName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xls"))
        return Format::Excel97;
    if (suffix == QLatin1String("xlsx"))
        return Format::Excel2007;
    if (suffix == QLatin1String("ods"))
        return Format::OpenDocument;
    if (suffix == QLatin1String("csv"))
        return Format::Csv;
    return std::nullopt;
}

std::optional<QStringList> WorkbookKind::excelSheets(const QByteArray& bytes, QString& problem)
{
    const std::optional<CompoundFile> file = CompoundFile::read(bytes, problem);
    if (!file)
        return std::nullopt;
    // BIFF8 lives in "Workbook", the older BIFF5 and BIFF7 in "Book".
    const QString name = file->contains(QStringLiteral("Workbook")) ? QStringLiteral("Workbook")
                                                                    : QStringLiteral("Book");
    if (!file->contains(name)) {
        problem = QStringLiteral("its bytes are not those of an .xls workbook");
        return std::nullopt;
    }
    // Only the records before the sheets' own are read: big sheets are not copied.
    const std::optional<CompoundFile::Stream> stream = file->openStream(name, problem);
    if (!stream)
        return std::nullopt;
    const QByteArray head = stream->bytes(0, 8);
    const quint16 version = head.size() >= 8 ? u16(head, 4) : 0;
    // The version first: a stream too short to hold one has no first record to read either.
    if ((version != kBiff8 && version != kBiff5) || u16(head, 0) != kBeginOfFile) {
        problem = QStringLiteral("its bytes are not those of an .xls workbook");
        return std::nullopt;
    }
    QStringList sheets;
    bool encrypted = false;
    qint64 at = 0;
    while (at + 4 <= stream->size()) {
        const QByteArray header = stream->bytes(at, 4);
        const quint16 type = u16(header, 0);
        const qint64 length = u16(header, 2);
        const QByteArray record = stream->bytes(at + 4, length);
        at += 4 + length;
        if (type == kEndOfFile)
            return encrypted ? QStringList() : sheets;
        encrypted = encrypted || type == kFilePass;
        if (type != kBoundSheet || record.size() < 8)
            continue;
        // Each sheet's own records must be there too, or the file was cut short. Their place
        // is never encrypted.
        if (!startsSubstream(*stream, u32(record, 0)))
            break;
        if (quint8(record.at(5)) == kWorksheet)
            sheets.append(boundSheetName(record, version == kBiff8));
    }
    problem = QStringLiteral("it is cut short or damaged");
    return std::nullopt;
}

bool WorkbookKind::holdsSheets(const QString& path, const QStringList& names)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString problem;
    const std::optional<QStringList> sheets = excelSheets(file.readAll(), problem);
    return sheets && std::all_of(names.cbegin(), names.cend(),
                                 [&](const QString& name) { return sheets->contains(name); });
}

qsizetype WorkbookKind::longestCsvField(const QString& text)
{
    qsizetype longest = 0;
    qsizetype length = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != u'"')
                ++length;
            else if (i + 1 < text.size() && text.at(i + 1) == u'"')
                ++length, ++i;
            else
                quoted = false;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',' || c == u'\n' || c == u'\r') {
            longest = std::max(longest, length);
            length = 0;
        } else {
            ++length;
        }
    }
    return std::max(longest, length);
}

} // namespace brelix::files
