#include "core/files/DroppedFile.h"

#include "GTestPrinters.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
const QDir Shortcuts(QStringLiteral(BRELIX_SHORTCUT_CASES));

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Each shortcut file and what it gives, against one golden file (its "#" lines explain).
TEST(DroppedFileTest, EachShortcutFileGivesTheTargetItsGoldenDescriptionNames)
{
    const QString kinds[] = {u"unresolved"_s, u"no path"_s, u"path"_s, u"extended path"_s,
                             u"plain file"_s};
    QString described;
    for (const QString& name : Shortcuts.entryList({u"*.lnk"_s}, QDir::Files, QDir::Name)) {
        const DroppedFile dropped = readShortcut(bytesOf(Shortcuts.filePath(name)), name);
        described += name + u": "_s + kinds[static_cast<int>(dropped.kind)] +
                     (dropped.path.isEmpty() ? QString() : u' ' + dropped.path) + u'\n';
    }
    QString expected = QString::fromUtf8(bytesOf(Shortcuts.filePath(u"read.txt"_s)));
    expected.remove(QRegularExpression(u"^#.*\n"_s, QRegularExpression::MultilineOption));
    EXPECT_EQ(described.replace(QChar(0), u"\\0"_s), expected);
}

TEST(DroppedFileTest, ADropGivesTheBoxTheLastNameThatResolves)
{
    QTemporaryDir dir;
    const auto copy = [&](const QString& from, const QString& name) {
        QFile::copy(Shortcuts.filePath(from), dir.filePath(name));
        return dir.filePath(name);
    };
    const QString book = copy(u"empty.lnk"_s, u"Book.xls"_s);
    const QString capitals = copy(u"extended.lnk"_s, u"Book.LNK"_s);
    const QString link = copy(u"extended.lnk"_s, u"Book.xls.lnk"_s);
    const QString network = copy(u"network-first.lnk"_s, u"Net.lnk"_s);
    QDir(dir.path()).mkdir(u"Folder.lnk"_s);

    const std::pair<QString, DroppedFile> names[] = {
        {book, {Kind::PlainFile, book}},
        {dir.path(), {Kind::PlainFile, dir.path()}},
        {capitals, {Kind::PlainFile, capitals}}, // only ".lnk" is a shortcut
        {link, {Kind::ShortcutPathExtended, u"/Data/Book.xls ab"_s}},
        {network, {Kind::Unresolved, network}},
        {dir.filePath(u"Missing.lnk"_s), {}},
        {dir.filePath(u"Folder.lnk"_s), {}}};
    for (const auto& [name, dropped] : names)
        EXPECT_EQ(resolveDroppedFile(name), dropped) << name.toStdString();

    EXPECT_EQ(textFromDrop({book, capitals}), capitals);
    EXPECT_EQ(textFromDrop({book, link, network}), u"/Data/Book.xls ab"_s);
    EXPECT_EQ(textFromDrop({network}), std::nullopt);
    EXPECT_EQ(localPathOf(u"d:\\"_s), u"/"_s);
}

} // namespace
} // namespace brelix::files
