#include "GTestPrinters.h"
#include "core/files/DroppedFile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace Qt::StringLiterals;

namespace brelix::files {

inline void PrintTo(const DroppedFile& result, std::ostream* os)
{
    *os << "{kind " << static_cast<int>(result.kind) << ", \"" << result.path.toStdString()
        << "\"}";
}

namespace {

const QString Shortcut = u"/home/user/Book.xls.lnk"_s;

// A literal with the NULs inside it.
template <qsizetype N> QByteArray raw(const char (&bytes)[N])
{
    return QByteArray(bytes, N - 1);
}

// Binary lines ended by CR LF, the way the reading expects a shortcut.
QByteArray lines(std::initializer_list<QByteArray> parts)
{
    QByteArray bytes;
    for (const QByteArray& part : parts)
        bytes += part + "\r\n";
    return bytes;
}

const QByteArray Header = raw("L\0\0\0\x01\x14\x02\0\0\0\xc0\0\0F\x9b\0\x08\0");
const QByteArray DriveLine = raw("C:\\Data\\Book\x1d\x10\0\x01\0");

// The NT layout: drive line, a "$" line, the rest of the path, three lines later a second part.
QByteArray ntShortcut(const QByteArray& second)
{
    return lines(
        {Header, DriveLine, raw("\0\0\x14"), raw("\x1f$\x05"), ".xls", "x", "y", second, "tail"});
}

DroppedFile nt(const QByteArray& bytes)
{
    return readShortcut(bytes, Shortcut);
}

TEST(ReadShortcutTest, NtLayout)
{
    EXPECT_EQ(nt(ntShortcut("ab")),
              (DroppedFile{DroppedFile::Kind::ShortcutPathExtended, u"C:\\Data\\Book.xls ab"_s}));
    EXPECT_EQ(nt(ntShortcut("a")),
              (DroppedFile{DroppedFile::Kind::ShortcutPath, u"C:\\Data\\Book.xls"_s}));
    EXPECT_EQ(nt(lines({DriveLine, "$", ".xls", "x"})),
              (DroppedFile{DroppedFile::Kind::ShortcutPath, u"C:\\Data\\Book.xls"_s}));
    // No "$" line, or none after it: the path stays incomplete.
    EXPECT_EQ(nt(lines({Header, DriveLine, "no", "marker"})),
              (DroppedFile{DroppedFile::Kind::Unresolved, Shortcut}));
    EXPECT_EQ(nt(lines({DriveLine, "$"})), (DroppedFile{DroppedFile::Kind::Unresolved, Shortcut}));
    // A later drive path starts over.
    EXPECT_EQ(nt(ntShortcut("ab") + lines({"D:\\Other.csv", "$", "", "1", "2", "3"})),
              (DroppedFile{DroppedFile::Kind::ShortcutPath, u"D:\\Other.csv"_s}));
}

TEST(ReadShortcutTest, NetworkTargetsEndTheScanUnresolved)
{
    EXPECT_EQ(nt(lines({Header, "\\\\server\\share\\Book.xls", "C:\\x", "$", "y"})),
              (DroppedFile{DroppedFile::Kind::Unresolved, Shortcut}));
    EXPECT_EQ(nt(ntShortcut("ab") + "\\\\server\r"),
              (DroppedFile{DroppedFile::Kind::Unresolved, Shortcut}));
}

TEST(ReadShortcutTest, LinesEndOnlyAtCarriageReturns)
{
    // A lone LF belongs to the line, so no drive path starts one here.
    EXPECT_EQ(nt("junk\nC:\\a.xls\r$\r.b\r"), DroppedFile{});
    // A lone CR ends it, and NUL is an ordinary character.
    EXPECT_EQ(nt(raw("junk\rC:\\a\0b\r$\r.xls")),
              (DroppedFile{DroppedFile::Kind::ShortcutPath, u"C:\\a\0b.xls"_s}));
}

TEST(ReadShortcutTest, JapanesePathsAreReadAsCp932)
{
    // The second byte of "表" is a backslash: read as bytes it would look like a network path.
    QStringEncoder cp932("windows-31j");
    const QByteArray drive = cp932.encode(u"C:\\表\\売上"_s);
    ASSERT_TRUE(drive.contains("\\\\"));
    EXPECT_EQ(nt(lines({Header, drive, "$", ".xls"})),
              (DroppedFile{DroppedFile::Kind::ShortcutPath, u"C:\\表\\売上.xls"_s}));
    EXPECT_EQ(nt(lines({u"C:\\データ"_s.toUtf8(), "$", ".xls"})),
              (DroppedFile{DroppedFile::Kind::ShortcutPath, u"C:\\データ.xls"_s}));
}

TEST(ReadShortcutTest, TruncatedAndRandomBytesGiveNoTarget)
{
    EXPECT_EQ(nt({}), DroppedFile{});
    EXPECT_EQ(nt(lines({Header, "C:", "x:/unix", "\r"})), DroppedFile{});

    const QByteArray whole = ntShortcut("ab");
    for (qsizetype size = 0; size <= whole.size(); ++size) {
        const DroppedFile result = nt(whole.first(size));
        if (result.namesFile())
            EXPECT_TRUE(result.path.startsWith(u"C:\\Data\\Book"_s)) << size;
        else
            EXPECT_EQ(result.path,
                      result.kind == DroppedFile::Kind::Unresolved ? Shortcut : QString())
                << size;
    }

    std::mt19937 random(20040901);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(round * 7, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 64); // many CRs, few printable characters
        const DroppedFile result = readShortcut(bytes, Shortcut);
        EXPECT_NE(result.kind, DroppedFile::Kind::PlainFile);
    }
}

TEST(ResolveDroppedFileTest, DroppedNamesAndShortcutFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString book = write(u"Book.xls"_s, "not read");
    const QString capitals = write(u"Book.LNK"_s, ntShortcut("ab"));
    const QString shortcut = write(u"Book.xls.lnk"_s, ntShortcut("ab"));
    const QString network = write(u"Net.lnk"_s, lines({"\\\\server\\share"}));
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"Folder.lnk"_s));

    EXPECT_EQ(resolveDroppedFile(book), (DroppedFile{DroppedFile::Kind::PlainFile, book}));
    EXPECT_EQ(resolveDroppedFile(dir.path()),
              (DroppedFile{DroppedFile::Kind::PlainFile, dir.path()}));
    EXPECT_EQ(resolveDroppedFile(capitals), (DroppedFile{DroppedFile::Kind::PlainFile, capitals}));
    EXPECT_EQ(resolveDroppedFile(shortcut),
              (DroppedFile{DroppedFile::Kind::ShortcutPathExtended, u"/Data/Book.xls ab"_s}));
    EXPECT_EQ(resolveDroppedFile(network), (DroppedFile{DroppedFile::Kind::Unresolved, network}));
    EXPECT_EQ(resolveDroppedFile(dir.filePath(u"Missing.lnk"_s)), DroppedFile{});
    EXPECT_EQ(resolveDroppedFile(dir.filePath(u"Folder.lnk"_s)), DroppedFile{});

    EXPECT_EQ(textFromDrop({book, capitals}), capitals);
    EXPECT_EQ(textFromDrop({book, shortcut, network}), u"/Data/Book.xls ab"_s);
    EXPECT_EQ(textFromDrop({network}), std::nullopt);
    EXPECT_EQ(localPathOf(u"d:\\"_s), u"/"_s);
}

} // namespace
} // namespace brelix::files
