#include "core/files/DroppedFile.h"

#include "core/files/TextDecoding.h"

#include <QFile>
#include <QFileInfo>

namespace brelix::files {

namespace {

// Real shortcuts are a few kilobytes; a large file dropped under that name is read only so far.
constexpr qint64 MaxShortcutBytes = 1 << 20;

constexpr QChar GroupSeparator(29);

// The lines of a shortcut file, one at a time, until the bytes run out.
class ShortcutLines {
public:
    explicit ShortcutLines(const QByteArray& bytes) : m_bytes(bytes) {}

    std::optional<QString> next()
    {
        if (m_position >= m_bytes.size())
            return std::nullopt;
        qsizetype end = m_bytes.indexOf('\r', m_position);
        if (end < 0)
            end = m_bytes.size();
        // Shortcuts made on a Japanese Windows hold their paths in Shift-JIS.
        const QString line = decodeUtf8OrShiftJis(m_bytes.sliced(m_position, end - m_position));
        m_position = end + 1;
        if (m_position < m_bytes.size() && m_bytes.at(m_position) == '\n')
            ++m_position;
        return line;
    }

private:
    const QByteArray& m_bytes;
    qsizetype m_position = 0;
};

// After the first line holding "$" comes the rest of the path, and three lines
// later a second part that counts when it has two characters or more.
void followPath(ShortcutLines& lines, DroppedFile& result, const QString& shortcutName)
{
    result.kind = DroppedFile::Kind::Unresolved;
    while (const std::optional<QString> line = lines.next()) {
        if (!line->contains(u'$'))
            continue;
        const std::optional<QString> rest = lines.next();
        if (!rest)
            break; // the path was never completed
        result.kind = DroppedFile::Kind::ShortcutPath;
        result.path += *rest;
        std::optional<QString> third;
        for (int i = 0; i < 3; ++i) {
            third = lines.next();
            if (!third)
                return;
        }
        if (third->size() >= 2) {
            result.path += u' ' + *third;
            result.kind = DroppedFile::Kind::ShortcutPathExtended;
        }
        return;
    }
    result.path = shortcutName;
}

} // namespace

DroppedFile readShortcut(const QByteArray& bytes, const QString& shortcutName)
{
    DroppedFile result;
    ShortcutLines lines(bytes);
    while (const std::optional<QString> line = lines.next()) {
        if (line->contains(u"\\\\"))
            return {DroppedFile::Kind::Unresolved, shortcutName};
        if (line->mid(1, 2) != u":\\")
            continue;
        // A later drive path starts over.
        const qsizetype cut = line->indexOf(GroupSeparator);
        result.path = cut < 0 ? *line : line->left(cut);
        followPath(lines, result, shortcutName);
    }
    return result;
}

QString localPathOf(const QString& windowsPath)
{
    QString path = windowsPath.mid(1, 2) == u":\\" ? u'/' + windowsPath.mid(3) : windowsPath;
    path.replace(u'\\', u'/');
    return path;
}

DroppedFile resolveDroppedFile(const QString& name)
{
    if (!name.endsWith(u".lnk"))
        return {DroppedFile::Kind::PlainFile, name};
    // Not a regular file (a folder, a pipe): nothing to read, and opening a pipe would block.
    QFile file(name);
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    DroppedFile result = readShortcut(file.read(MaxShortcutBytes), name);
    if (result.namesFile())
        result.path = localPathOf(result.path);
    return result;
}

std::optional<QString> textFromDrop(const QStringList& names)
{
    std::optional<QString> text;
    for (const QString& name : names) {
        const DroppedFile dropped = resolveDroppedFile(name);
        if (dropped.namesFile())
            text = dropped.path;
    }
    return text;
}

} // namespace brelix::files
