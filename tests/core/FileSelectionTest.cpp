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

inline void PrintTo(const DropResult& result, std::ostream* os)
{
    *os << "{kind " << result.kind << ", \"" << result.path.toStdString() << "\"}";
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

DropResult nt(const QByteArray& bytes)
{
    return readShortcut(bytes, Shortcut);
}

TEST(ReadShortcutTest, NtLayout)
{
    EXPECT_EQ(nt(ntShortcut("ab")), (DropResult{DropShortcutExtended, u"C:\\Data\\Book.xls ab"_s}));
    EXPECT_EQ(nt(ntShortcut("a")), (DropResult{DropShortcut, u"C:\\Data\\Book.xls"_s}));
    EXPECT_EQ(nt(lines({DriveLine, "$", ".xls", "x"})),
              (DropResult{DropShortcut, u"C:\\Data\\Book.xls"_s}));
    // No "$" line, or none after it: the path stays incomplete.
    EXPECT_EQ(nt(lines({Header, DriveLine, "no", "marker"})),
              (DropResult{DropUnresolved, Shortcut}));
    EXPECT_EQ(nt(lines({DriveLine, "$"})), (DropResult{DropUnresolved, Shortcut}));
    // A later drive path starts over.
    EXPECT_EQ(nt(ntShortcut("ab") + lines({"D:\\Other.csv", "$", "", "1", "2", "3"})),
              (DropResult{DropShortcut, u"D:\\Other.csv"_s}));
}

TEST(ReadShortcutTest, NetworkTargetsEndTheScanUnresolved)
{
    EXPECT_EQ(nt(lines({Header, "\\\\server\\share\\Book.xls", "C:\\x", "$", "y"})),
              (DropResult{DropUnresolved, Shortcut}));
    EXPECT_EQ(nt(ntShortcut("ab") + "\\\\server\r"), (DropResult{DropUnresolved, Shortcut}));
}

TEST(ReadShortcutTest, LinesEndOnlyAtCarriageReturns)
{
    // A lone LF belongs to the line, so no drive path starts one here.
    EXPECT_EQ(nt("junk\nC:\\a.xls\r$\r.b\r"), DropResult{});
    // A lone CR ends it, and NUL is an ordinary character.
    EXPECT_EQ(nt(raw("junk\rC:\\a\0b\r$\r.xls")), (DropResult{DropShortcut, u"C:\\a\0b.xls"_s}));
}

TEST(ReadShortcutTest, JapanesePathsAreReadAsCp932)
{
    // The second byte of "表" is a backslash: read as bytes it would look like a network path.
    QStringEncoder cp932("windows-31j");
    const QByteArray drive = cp932.encode(u"C:\\表\\売上"_s);
    ASSERT_TRUE(drive.contains("\\\\"));
    EXPECT_EQ(nt(lines({Header, drive, "$", ".xls"})),
              (DropResult{DropShortcut, u"C:\\表\\売上.xls"_s}));
    EXPECT_EQ(nt(lines({u"C:\\データ"_s.toUtf8(), "$", ".xls"})),
              (DropResult{DropShortcut, u"C:\\データ.xls"_s}));
}

TEST(ReadShortcutTest, TruncatedAndRandomBytesGiveNoTarget)
{
    EXPECT_EQ(nt({}), DropResult{});
    EXPECT_EQ(nt(lines({Header, "C:", "x:/unix", "\r"})), DropResult{});

    const QByteArray whole = ntShortcut("ab");
    for (qsizetype size = 0; size <= whole.size(); ++size) {
        const DropResult result = nt(whole.first(size));
        if (result.kind >= DropShortcut)
            EXPECT_TRUE(result.path.startsWith(u"C:\\Data\\Book"_s)) << size;
        else
            EXPECT_EQ(result.path, result.kind == DropUnresolved ? Shortcut : QString()) << size;
    }

    std::mt19937 random(20040901);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(round * 7, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 64); // many CRs, few printable characters
        const DropResult result = readShortcut(bytes, Shortcut);
        EXPECT_GE(result.kind, DropUnresolved);
        EXPECT_LE(result.kind, DropShortcutExtended);
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

    EXPECT_EQ(resolveDroppedFile(book), (DropResult{DropPlainFile, book}));
    EXPECT_EQ(resolveDroppedFile(dir.path()), (DropResult{DropPlainFile, dir.path()}));
    EXPECT_EQ(resolveDroppedFile(capitals), (DropResult{DropPlainFile, capitals}));
    EXPECT_EQ(resolveDroppedFile(shortcut),
              (DropResult{DropShortcutExtended, u"/Data/Book.xls ab"_s}));
    EXPECT_EQ(resolveDroppedFile(network), (DropResult{DropUnresolved, network}));
    EXPECT_EQ(resolveDroppedFile(dir.filePath(u"Missing.lnk"_s)), DropResult{});
    EXPECT_EQ(resolveDroppedFile(dir.filePath(u"Folder.lnk"_s)), DropResult{});

    EXPECT_EQ(textFromDrop({book, capitals}), capitals);
    EXPECT_EQ(textFromDrop({book, shortcut, network}), u"/Data/Book.xls ab"_s);
    EXPECT_EQ(textFromDrop({network}), std::nullopt);
    EXPECT_EQ(localPathOf(u"d:\\"_s), u"/"_s);
}

} // namespace
} // namespace brelix::files
