#include "core/files/DroppedFile.h"

#include "GTestPrinters.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::files {

inline void PrintTo(const DroppedFile& dropped, std::ostream* os)
{
    *os << "{kind " << static_cast<int>(dropped.kind) << ", \"" << dropped.path.toStdString()
        << "\"}";
}

namespace {

using Kind = DroppedFile::Kind;
const QString Shortcut = u"/home/user/Book.xls.lnk"_s;

// A literal with the NULs inside it.
template <qsizetype N> QByteArray raw(const char (&bytes)[N])
{
    return QByteArray(bytes, N - 1);
}

// Lines ended by CR LF, the way a shortcut holds them.
QByteArray lines(std::initializer_list<QByteArray> parts)
{
    QByteArray bytes;
    for (const QByteArray& part : parts)
        bytes += part + "\r\n";
    return bytes;
}

const QByteArray Header = raw("L\0\0\0\x01\x14\x02\0\0\0\xc0\0\0F\x9b\0\x08\0");
const QByteArray DriveLine = raw("C:\\Data\\Book\x1d\x10\0\x01\0");

// The drive line, a "$" line, the rest of the path, and three lines later a second part.
QByteArray shortcut(const QByteArray& second)
{
    return lines(
        {Header, DriveLine, raw("\0\0\x14"), raw("\x1f$\x05"), ".xls", "x", "y", second, "tail"});
}

TEST(DroppedFileTest, AShortcutGivesTheTargetItsBytesName)
{
    // The second byte of "表" is a backslash: read as bytes it would look like a network path.
    const QByteArray cp932 = QStringEncoder("windows-31j").encode(u"C:\\表\\売上"_s);
    const std::pair<QByteArray, DroppedFile> shortcuts[] = {
        {shortcut("ab"), {Kind::ShortcutPathExtended, u"C:\\Data\\Book.xls ab"_s}},
        {shortcut("a"), {Kind::ShortcutPath, u"C:\\Data\\Book.xls"_s}},
        {lines({DriveLine, "$", ".xls", "x"}), {Kind::ShortcutPath, u"C:\\Data\\Book.xls"_s}},
        // No "$" line, or nothing after it: the path stays incomplete.
        {lines({Header, DriveLine, "no", "marker"}), {Kind::Unresolved, Shortcut}},
        {lines({DriveLine, "$"}), {Kind::Unresolved, Shortcut}},
        // A later drive path starts over.
        {shortcut("ab") + lines({"D:\\Other.csv", "$", "", "1", "2", "3"}),
         {Kind::ShortcutPath, u"D:\\Other.csv"_s}},
        // A network target ends the reading.
        {lines({Header, "\\\\server\\share\\Book.xls", "C:\\x", "$", "y"}),
         {Kind::Unresolved, Shortcut}},
        {shortcut("ab") + "\\\\server\r", {Kind::Unresolved, Shortcut}},
        // Only a CR ends a line, the first one too: a lone LF belongs to it, and NUL is an
        // ordinary character.
        {"junk\nC:\\a.xls\r$\r.b\r", {}},
        {raw("\rC:\\a\0b\r$\r.xls"), {Kind::ShortcutPath, u"C:\\a\0b.xls"_s}},
        // Paths in Shift-JIS, as Japanese systems write them, or in UTF-8.
        {lines({Header, cp932, "$", ".xls"}), {Kind::ShortcutPath, u"C:\\表\\売上.xls"_s}},
        {lines({u"C:\\データ"_s.toUtf8(), "$", ".xls"}), {Kind::ShortcutPath, u"C:\\データ.xls"_s}},
        {{}, {}},
        {lines({Header, "C:", "x:/unix", "\r"}), {}},
    };
    for (const auto& [bytes, dropped] : shortcuts)
        EXPECT_EQ(readShortcut(bytes, Shortcut), dropped) << bytes.toHex(' ').toStdString();
}

TEST(DroppedFileTest, ADropGivesTheBoxTheLastNameThatResolves)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString book = write(u"Book.xls"_s, "not read");
    const QString capitals = write(u"Book.LNK"_s, shortcut("ab"));
    const QString link = write(u"Book.xls.lnk"_s, shortcut("ab"));
    const QString network = write(u"Net.lnk"_s, lines({"\\\\server\\share"}));
    QDir(dir.path()).mkdir(u"Folder.lnk"_s);

    const std::pair<QString, DroppedFile> names[] = {
        {book, {Kind::PlainFile, book}},
        {dir.path(), {Kind::PlainFile, dir.path()}},
        {capitals, {Kind::PlainFile, capitals}}, // only ".lnk" is a shortcut
        {link, {Kind::ShortcutPathExtended, u"/Data/Book.xls ab"_s}},
        {network, {Kind::Unresolved, network}},
        {dir.filePath(u"Missing.lnk"_s), {}},
        {dir.filePath(u"Folder.lnk"_s), {}},
    };
    for (const auto& [name, dropped] : names)
        EXPECT_EQ(resolveDroppedFile(name), dropped) << name.toStdString();

    EXPECT_EQ(textFromDrop({book, capitals}), capitals);
    EXPECT_EQ(textFromDrop({book, link, network}), u"/Data/Book.xls ab"_s);
    EXPECT_EQ(textFromDrop({network}), std::nullopt);
    EXPECT_EQ(localPathOf(u"d:\\"_s), u"/"_s);
}

} // namespace
} // namespace brelix::files
