#include "GTestPrinters.h"
#include "SavedEnvironment.h"
#include "TestData.h"
#include "core/compare/DiffRules.h"
#include "core/files/CompoundFile.h"
#include "core/files/DroppedFile.h"
#include "core/files/FolderFileList.h"
#include "core/files/FolderListing.h"
#include "core/files/ProgramFolder.h"
#include "core/files/ProgramFolderSetup.h"
#include "core/files/WorkbookKind.h"
#include "core/host/CellAddress.h"
#include "core/host/CellBlocks.h"
#include "core/host/CellText.h"
#include "core/language/UiLanguage.h"
#include "core/settings/History.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsNumber.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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

using support::bytesOf;

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
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

TEST(FolderFileListTest, EachOrderListsTheNamesWithTheirTimes)
{
    // f3 is the oldest, f7 the newest; the others share one minute.
    QList<FolderEntry> files;
    for (int i = 0; i <= 10; ++i)
        files.append({u"f%1"_s.arg(i), i == 3   ? u"1999/12/31 23:59"_s
                                       : i == 7 ? u"2001/01/01 00:00"_s
                                                : u"2000/09/01 12:00"_s});
    for (const QStringList& c : support::caseRows(u"folder-file-orders.txt"_s)) {
        const FileListColumns columns = buildFileList(files, c[0].toShort());
        EXPECT_EQ(columns.names.join(u' '), c[1]) << c[0].toStdString();
        EXPECT_EQ(columns.times.value(columns.names.indexOf(u"f3"_s)), c[2]) << c[0].toStdString();
        EXPECT_EQ(columns.times.size(), columns.names.size()) << c[0].toStdString();
    }
    EXPECT_EQ(timeSortKey(u"2000/09/01 12:00"_s, 10), u"2000/09/01 12:00    10"_s);
}

TEST(FolderFileListTest, TitlePressesReverseTheSameOrderAndStartTheOtherAscending)
{
    // Presses of the name (N) and the time (T) title and of neither (-), each with the order
    // that follows.
    qint16 order = SortByName;
    for (const QString& press : u"N2 N1 T3 T4 N1 T3 -3 N1 -1"_s.split(u' ')) {
        const QChar title = press[0];
        order = sortAfterTitlePress(order, title == u'N'   ? NameTitle
                                           : title == u'T' ? TimeTitle
                                                           : 2);
        EXPECT_EQ(order, press[1].digitValue()) << press.toStdString();
    }
    EXPECT_EQ(sortAfterTitlePress(0, TimeTitle), SortByTime);
}

// Real files, since the listing and the times come from the disk.
TEST(FolderFileListTest, AListingTakesTheVisibleMatchingFilesInNameOrder)
{
    QTemporaryDir dir;
    const QDateTime minute(QDate(2000, 9, 1), QTime(12, 0));
    const auto touch = [&](const QString& name, const QDateTime& time) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).path());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    };
    touch(u"B.XLS"_s, minute.addSecs(59));
    touch(u"a.xls"_s, minute.addYears(-1));
    touch(u"b.xls"_s, minute);
    for (const QString& skipped : {u".hidden.xls"_s, u"c.xlsx"_s, u"d.csv"_s, u"sub.xls/e.xls"_s})
        touch(skipped, minute);

    const std::optional<FolderListing> listing = FolderListing::read(dir.path() + u'/', u"*.xls"_s);
    ASSERT_TRUE(listing);
    EXPECT_EQ(*listing, (FolderListing{dir.path(), {u"a.xls"_s, u"B.XLS"_s, u"b.xls"_s}}));
    EXPECT_EQ((FolderListing{listing->folder, {u"a.xls"_s, u"B.XLS"_s, u"gone.xls"_s}}.entries()),
              (QList<FolderEntry>{{u"a.xls"_s, u"1999/09/01 12:00"_s},
                                  {u"B.XLS"_s, u"2000/09/01 12:00"_s},
                                  {u"gone.xls"_s, QString()}}));
    EXPECT_EQ(FolderListing::read(dir.path(), fileTypePatterns().join(u';'))->names,
              (QStringList{u"a.xls"_s, u"B.XLS"_s, u"b.xls"_s, u"d.csv"_s}));
    EXPECT_TRUE(FolderListing::read(dir.path(), QString())->names.isEmpty());
    EXPECT_EQ(FolderListing::read(u"/"_s, u"*.xls"_s)->folder, u"/"_s);

    EXPECT_EQ(timeText(QDateTime(QDate(2004, 1, 2), QTime(3, 4, 59))), u"2004/01/02 03:04"_s);
    EXPECT_EQ(timeText(QDateTime()), QString());
    EXPECT_EQ(listedFilePath(u"/"_s, u"売上.xls"_s), u"/売上.xls"_s);
    EXPECT_EQ(collapseSeparators(u"/a///b//"_s), u"/a//b/"_s);

    // Texts that name no folder leave the previous listing to the caller.
    touch(u"tool"_s, minute);
    QFile::setPermissions(dir.filePath(u"tool"_s), QFile::ReadOwner | QFile::ExeOwner);
    for (const QString& text :
         {QString(), u"tmp"_s, dir.filePath(u"missing"_s), dir.filePath(u"d.csv"_s),
          dir.filePath(u"tool"_s), dir.path().chopped(1)})
        EXPECT_FALSE(FolderListing::read(text, u"*.xls"_s)) << text.toStdString();
}

const QString kCorpus = QStringLiteral(BRELIX_TEST_DATA_DIR "/corpus/");

// The worksheets an .xls file declares, as tests/data/workbook-kinds.txt lists them.
TEST(WorkbookKindTest, ExcelFilesDeclareTheirWorksheetsAndNothingWhenCutOrForeign)
{
    const QByteArray templ = bytesOf(QStringLiteral(BRELIX_BUILT_TEMPLATE));
    // The first sheet's records said to lie far past the end of the file.
    QByteArray farSheet = templ;
    const qsizetype name =
        farSheet.indexOf(QByteArray(reinterpret_cast<const char*>(u"変更履歴"), 8));
    ASSERT_EQ(farSheet.mid(name - 12, 2), QByteArray("\x85\x00", 2)); // its sheet record
    farSheet.replace(name - 8, 4, QByteArray("\xF0\xFF\xFF\x7F", 4));
    const QList<QStringList> cases = support::caseRows(u"workbook-kinds.txt"_s);
    for (const QStringList& c : cases) {
        QByteArray bytes = c[0] == u"template"    ? templ
                           : c[0] == u"far-sheet" ? farSheet
                           : c[0] == u"x"         ? QByteArray(4096, 'x')
                                                  : bytesOf(kCorpus + c[0]);
        ASSERT_FALSE(bytes.isEmpty()) << c[0].toStdString();
        if (c[1].contains(u'/'))
            bytes.truncate(bytes.size() * c[1].section(u'/', 0, 0).toInt() /
                           c[1].section(u'/', 1).toInt());
        else if (c[1] != u"all")
            bytes.truncate(c[1].toInt());
        QString problem;
        const std::optional<QStringList> sheets = WorkbookKind::excelSheets(bytes, problem);
        const QString found = !sheets ? u"-"_s : sheets->isEmpty() ? u"?"_s : sheets->join(u'|');
        EXPECT_EQ(found, c[2]) << c.join(u' ').toStdString();
        EXPECT_EQ(problem.isEmpty(), sheets.has_value()) << c.join(u' ').toStdString();
    }
    EXPECT_EQ(cases.size(), 12);
}

// A compound file made here, with sectors of 1 << shift bytes, as tests/data/compound-files.txt
// describes it.
constexpr quint32 kEnd = 0xFFFFFFFE;
constexpr qint64 sectorAt(int n, qint64 unit = 512)
{
    return unit * (n + 1);
}

void put(QByteArray& bytes, qint64 at, quint32 value, int size = 4)
{
    size == 1   ? void(bytes[at] = char(value))
    : size == 2 ? qToLittleEndian<quint16>(value, bytes.data() + at)
                : qToLittleEndian<quint32>(value, bytes.data() + at);
}

QByteArray madeCompoundFile(int shift = 9)
{
    const qint64 unit = qint64(1) << shift;
    QByteArray bytes(sectorAt(7, unit), '\xFF');
    bytes.replace(0, 0x4C, QByteArray(0x4C, '\0'));
    bytes.replace(0, 8, QByteArray::fromHex("d0cf11e0a1b11ae1"));
    const std::pair<qint64, quint32> header[] = {{0x2C, 1}, {0x30, 1},    {0x38, 1024}, {0x3C, 2},
                                                 {0x40, 1}, {0x44, kEnd}, {0x4C, 0}};
    put(bytes, 0x1E, shift, 2);
    put(bytes, 0x20, 6, 2);
    for (const auto& [at, value] : header)
        put(bytes, at, value);
    const quint32 fat[] = {0xFFFFFFFD, kEnd, kEnd, kEnd, 6, 4, kEnd};
    for (int i = 0; i < 7; ++i)
        put(bytes, sectorAt(0, unit) + 4 * i, fat[i]);
    put(bytes, sectorAt(2, unit), 1);
    put(bytes, sectorAt(2, unit) + 4, kEnd);
    bytes.replace(sectorAt(1, unit), unit, QByteArray(unit, '\0'));
    const struct {
        QString name;
        char type;
        quint32 start, size;
    } entries[] = {{{}, 5, 3, 128}, {u"Workbook"_s, 2, 5, 1200}, {u"Small"_s, 2, 0, 100}};
    for (qint64 at = sectorAt(1, unit); const auto& [name, type, start, size] : entries) {
        for (int i = 0; i < name.size(); ++i)
            put(bytes, at + 2 * i, name[i].unicode(), 2);
        put(bytes, at + 0x40, 2 * (name.size() + 1), 2);
        bytes[at + 0x42] = type;
        put(bytes, at + 0x74, start);
        put(bytes, at + 0x78, size);
        at += 128;
    }
    bytes.replace(sectorAt(3, unit), 128, QByteArray(64, 'a') + QByteArray(64, 'b'));
    for (const int sector : {4, 5, 6})
        bytes.replace(sectorAt(sector, unit), unit, QByteArray(unit, char('A' + sector)));
    bytes.chop(unit - 100);
    return bytes;
}

// "-" for bytes that are no compound file, else each stream as its runs of equal bytes
// ("F512": 512 times F, "." for a zero), "x" for one that cannot be read.
QString streamsOf(const QByteArray& bytes)
{
    QString problem;
    const std::optional<CompoundFile> file = CompoundFile::read(bytes, problem);
    if (!file)
        return problem.isEmpty() ? u"no problem told"_s : u"-"_s;
    QStringList streams;
    for (const QString& name : {u"workbook"_s, u"SMALL"_s}) {
        const std::optional<QByteArray> stream = file->stream(name, problem);
        QString runs = stream ? QString() : u"x"_s;
        for (qsizetype at = 0, n = 1; stream && at < stream->size(); at += n) {
            for (n = 1; at + n < stream->size() && stream->at(at + n) == stream->at(at);)
                ++n;
            runs +=
                (stream->at(at) ? QChar::fromLatin1(stream->at(at)) : u'.') + QString::number(n);
        }
        streams.append(runs);
    }
    return streams.join(u'|');
}

// The made file after a case's changes (see the case file).
QByteArray changedCompoundFile(const QString& changes)
{
    static const QRegularExpression write(u"^u(8|16|32)@(\\w+)(?:\\*(\\d+))?=(\\w+)$"_s);
    QByteArray bytes = madeCompoundFile();
    for (const QString& change : changes.split(u' ', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = write.match(change);
        const qint64 number = change.section(u'=', 1).toLongLong(nullptr, 0);
        const int size = m.captured(1).toInt() / 8;
        if (change.startsWith(u"shift="_s))
            bytes = madeCompoundFile(int(number));
        else if (change.startsWith(u"size="_s))
            bytes.resize(number, '\0');
        else if (m.hasMatch())
            for (int i = 0; i < qMax(1, m.captured(3).toInt()); ++i)
                put(bytes, m.captured(2).toLongLong(nullptr, 0) + i * size, number, size);
        else
            EXPECT_EQ(change, u"-"_s);
    }
    return bytes;
}

TEST(CompoundFileTest, EveryChainStaysInsideTheFileAndVisitsEachSectorOnce)
{
    for (const QStringList& c : support::caseRows(u"compound-files.txt"_s))
        EXPECT_EQ(streamsOf(changedCompoundFile(c[1])), c[2]) << c[0].toStdString();
    // A stream is read where it lies, across its sectors and up to its end.
    QString problem;
    const std::optional<CompoundFile> file = CompoundFile::read(madeCompoundFile(), problem);
    const std::optional<CompoundFile::Stream> stream = file->openStream(u"Workbook"_s, problem);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->bytes(510, 4), "FFEE");
    EXPECT_EQ(stream->bytes(1120, 20), QByteArray("GGGG") + QByteArray(16, '\0'));
    EXPECT_EQ(stream->bytes(1195, 20), QByteArray(5, '\0'));
    EXPECT_TRUE(stream->bytes(-1, 4).isEmpty());
}

// A choice as the case files write it: its kind, then its folder.
QString described(const ProgramFolderChoice& choice)
{
    static const QString kinds[] = {u"home"_s, u"executable"_s, u"per-user"_s};
    return kinds[static_cast<int>(choice.kind)] + u' ' + choice.path;
}

TEST(ProgramFolderTest, TheRuleOrdersHomeExecutableAndPerUserFolder)
{
    for (const QStringList& c : support::caseRows(u"program-folder-rules.txt"_s))
        EXPECT_EQ(described(chooseProgramFolder(c[0] == u"-" ? QString() : c[0],
                                                u"/usr/lib/brelix"_s, c[1] == u"1",
                                                u"/home/a/.local/share/Brelix"_s, c[2] == u"1")),
                  c[3])
            << c.join(u' ').toStdString();
}

// This process's facts: the test runner sets BRELIX_HOME; the test changes it, HOME and
// XDG_DATA_HOME, and puts them back as it found them.
TEST(ProgramFolderTest, TheEnvironmentChoosesTheFolders)
{
    const support::SavedEnvironment environment{"BRELIX_HOME", "HOME", "XDG_DATA_HOME"};
    int argc = 1;
    char name[] = "core_tests";
    char* argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv); // the executable's folder needs one
    QTemporaryDir user;
    qputenv("HOME", QFile::encodeName(user.path()));
    // The test program lies in the build folder, which we can write to.
    const auto placed = [&](QString text) {
        return text.replace(u"{exe}"_s, QCoreApplication::applicationDirPath())
            .replace(u"{bin}"_s, QDir::current().absoluteFilePath(u"bin"_s))
            .replace(u"{user}"_s, user.path());
    };
    for (const QStringList& c : support::caseRows(u"program-folder-environments.txt"_s)) {
        for (const auto& [variable, value] :
             {std::pair{"BRELIX_HOME", c[0]}, {"XDG_DATA_HOME", c[1]}})
            value == u"-" ? qunsetenv(variable) : qputenv(variable, QFile::encodeName(value));
        EXPECT_EQ(described(programFolderChoice()), placed(c[2])) << c[0].toStdString();
        EXPECT_EQ(perUserFolder(), placed(c[3]));
    }
    EXPECT_EQ(programFile(u"テストデータ"_s), placed(u"{bin}/テストデータ"_s));
}

using Problem = ProgramFolderSetup::Problem;

// An installed folder with what an install puts there, and a place for the user's.
class ProgramFolderSetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_installed = m_root.filePath(u"lib/brelix"_s);
        m_user = m_root.filePath(u"home/.local/share/Brelix"_s);
        for (const QString& name :
             {u"Brelix_Format.xls"_s, u"Brelix.html"_s, u"images/compare.png"_s,
              u"テストデータ/TEST1.xls"_s, u"テストデータ/TEST2.csv"_s, u"brelix"_s})
            write(installed(name), "installed " + name.toUtf8());
    }

    // Each file of the user's folder and what it holds, one a line.
    QString userFiles() const
    {
        QStringList lines;
        QDirIterator it(m_user, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            file.open(QIODevice::ReadOnly);
            lines.append(QDir(m_user).relativeFilePath(file.fileName()) + u": "_s +
                         QString::fromUtf8(file.readAll()));
        }
        lines.sort();
        return lines.join(u'\n');
    }
    QString installed(const QString& name) const { return QDir(m_installed).filePath(name); }
    QString user(const QString& name) const { return QDir(m_user).filePath(name); }
    ProgramFolderSetup seed() const { return ProgramFolderSetup::seed(m_user, m_installed); }

    QTemporaryDir m_root;
    QString m_installed;
    QString m_user;
};

TEST_F(ProgramFolderSetupTest, LaterStartsKeepWhatTheUserHasButRefreshTheManual)
{
    // The first start copies what the program reads: no programs, settings or outputs.
    QFile::setPermissions(installed(u"Brelix_Format.xls"_s), QFile::ReadOwner | QFile::ReadOther);
    EXPECT_TRUE(seed().problems().isEmpty());
    QString transcript = u"first start:\n"_s + userFiles();
    // Copies are the user's, even of read-only installed files.
    EXPECT_TRUE(QFile::permissions(user(u"Brelix_Format.xls"_s)) & QFile::WriteOwner);

    write(user(u"Brelix.ini"_s), "settings");
    write(user(u"Brelix_Format.xls"_s), "my template");
    write(user(u"テストデータ/TEST1.xls"_s), "edited");
    QFile::remove(user(u"テストデータ/TEST2.csv"_s));
    write(installed(u"Brelix.html"_s), "upgraded manual");
    write(installed(u"images/compare.png"_s), "new picture");
    write(installed(u"images/search.png"_s), "another picture");
    EXPECT_TRUE(seed().problems().isEmpty());
    support::expectGolden(u"program-folder-seeds.txt"_s,
                          transcript + u"\nlater start:\n"_s + userFiles() + u'\n');
}

TEST_F(ProgramFolderSetupTest, WhatCannotBeDoneIsReportedAndTheRestIsStillDone)
{
    QFile::remove(installed(u"Brelix_Format.xls"_s));
    QFile::remove(installed(u"Brelix.html"_s));
    ProgramFolderSetup setup = seed();
    EXPECT_EQ(setup.problems(), (QList<Problem>{Problem::TemplateMissing, Problem::ManualMissing}));
    EXPECT_TRUE(QFileInfo::exists(user(u"テストデータ/TEST1.xls"_s)));
    QStringList messages{setup.message()};
    // A template seeded by an earlier start is enough.
    write(user(u"Brelix_Format.xls"_s), "template");
    EXPECT_EQ(seed().problems(), QList<Problem>{Problem::ManualMissing});

    // A plain file where a folder of the path should be: no user, root included, gets past it.
    // The installed folder then serves, where the template is back.
    write(installed(u"Brelix_Format.xls"_s), "template");
    write(m_root.filePath(u"blocked"_s), "a file");
    const QString blocked = m_root.filePath(u"blocked/Brelix"_s);
    setup = ProgramFolderSetup::seed(blocked, m_installed);
    EXPECT_EQ(setup.problems(),
              (QList<Problem>{Problem::FolderNotCreated, Problem::ManualMissing}));
    messages.append(setup.message());

    // A program's folder given by BRELIX_HOME that cannot be written is said once at start.
    const support::SavedEnvironment environment{"BRELIX_HOME"};
    qputenv("BRELIX_HOME", QFile::encodeName(m_installed));
    EXPECT_TRUE(ProgramFolderSetup::run().problems().isEmpty());
    qputenv("BRELIX_HOME", QFile::encodeName(blocked));
    messages.append(ProgramFolderSetup::run().message());
    support::expectGolden(u"program-folder-problems.txt"_s,
                          messages.join(u"\n--\n"_s).replace(m_root.path(), u"{root}"_s) + u'\n');
}

} // namespace
} // namespace brelix::files

namespace brelix::settings {
namespace {

using files::write;
using support::bytesOf;

const QString Cases = QStringLiteral(BRELIX_SETTINGS_CASES);

// Runs `job` where file permissions count: as root, in a child that gives root up.
int runUnprivileged(const std::function<int()>& job)
{
    if (::geteuid() != 0)
        return job();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(125);
        ::_exit(job());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

QString entries(const QStringList& list)
{
    QStringList quoted;
    for (const QString& entry : list)
        quoted.append(u" \""_s + QString(entry).replace(QChar(0), u"\\0"_s) + u'"');
    return quoted.join(QString());
}

// The comparison's pairing and rules, when one is set.
QString comparison(const Settings& s)
{
    const auto numbers = [](const QList<int>& list) {
        QStringList texts;
        for (const int n : list)
            texts << QString::number(n);
        return texts.join(u' ');
    };
    const settings::EqualityRules& r = s.equality;
    if (s.keyColumns.isEmpty() && !s.bySheetName && !r.isSet())
        return {};
    return u"keys %1, by name %2, case %3, width %4, blanks %5, tolerance %6, ignored %7\n"_s.arg(
        numbers(s.keyColumns), QString::number(s.bySheetName), QString::number(r.ignoreCase),
        QString::number(r.ignoreWidth), QString::number(r.ignoreBlanks),
        r.tolerance ? QString::number(*r.tolerance) : u"-"_s, numbers(r.ignoredColumns));
}

// Every member of the settings, as the golden file shows them.
QString describe(const SettingsFile::Loaded& loaded)
{
    const Settings& s = loaded.settings;
    const auto number = [](std::optional<int> n) { return n ? QString::number(*n) : u"-"_s; };
    return u"%1\nmode %2, top %3, left %4, colour %5, case %6, layout %7, on top %8\n"_s.arg(
               loaded.recovered ? u"recovered"_s : u"read"_s, QString::number(s.startMode),
               number(s.top), number(s.left), QString::number(s.colourDifferences),
               QString::number(s.caseSensitive), QString::number(s.windowLayout),
               QString::number(s.alwaysOnTop)) +
           u"scope %1, file type %2, toolbars %3, target %4, colour index %5, sort %6\n"_s
               .arg(s.printScope)
               .arg(s.fileTypeFilter)
               .arg(s.toolbarRows)
               .arg(static_cast<int>(s.compareTarget))
               .arg(s.diffColourIndex)
               .arg(s.fileSortOrder) +
           u"folders"_s + entries(s.folderHistory) + u"\nsearches"_s + entries(s.searchHistory) +
           u'\n' + (s.width ? u"window width %1\n"_s.arg(*s.width) : QString()) +
           (s.readyOffice ? QString() : u"ready office off\n"_s) +
           (s.officeCount ? u"offices %1\n"_s.arg(s.officeCount) : QString()) + comparison(s);
}

// A folder with what the cases' folder lines name ({dir}): folders, a plain file, the program's
// folder.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QString& folder : {u"data"_s, u"データ"_s, u"a,b"_s, u"program"_s})
            QDir(m_dir.path()).mkdir(folder);
        write(m_dir.filePath(u"plain file"_s), "not a folder");
    }
    QString program() const { return m_dir.filePath(u"program"_s); }
    QString ini() const { return m_dir.filePath(u"Brelix.ini"_s); }
    SettingsFile::Loaded loadCase(const QString& name)
    {
        write(ini(), bytesOf(QDir(Cases).filePath(name)).replace("{dir}", m_dir.path().toUtf8()));
        return SettingsFile::load(ini(), program());
    }

    QTemporaryDir m_dir;
};

// Each case file and what it loads as, against one golden file (its "#" lines explain).
TEST_F(SettingsFileTest, EachCaseFileLoadsAsItsGoldenDescriptionSays)
{
    QStringList described;
    for (const QString& name : QDir(Cases).entryList({u"*.ini"_s}, QDir::Files, QDir::Name))
        described.append(u"["_s + name + u"] "_s + describe(loadCase(name)));
    QString expected = QString::fromUtf8(bytesOf(QDir(Cases).filePath(u"loaded.txt"_s)));
    expected.remove(QRegularExpression(u"^#.*\n"_s, QRegularExpression::MultilineOption));
    EXPECT_EQ(described.join(u'\n').replace(m_dir.path(), u"{dir}"_s), expected);
}

TEST_F(SettingsFileTest, SettingsWriteTheLinesTheyAreReadFrom)
{
    const QByteArray everyKey =
        bytesOf(QDir(Cases).filePath(u"every-key.ini"_s)).replace("{dir}", m_dir.path().toUtf8());
    // Also as older versions wrote it: without the comparison's lines, never turning the ready
    // office off, widening the window nor choosing a number of offices.
    const QByteArray olderKeys = everyKey.left(everyKey.indexOf("[KEYCOL]"));
    for (const QByteArray& bytes : {everyKey, olderKeys,
                                    QByteArray(olderKeys)
                                        .replace("[READY ]0\r\n", "")
                                        .replace("[WIDTH ]7500\r\n", "")
                                        .replace("[JOBS  ]3\r\n", "")}) {
        write(ini(), bytes);
        ASSERT_TRUE(SettingsFile::save(ini(), SettingsFile::load(ini(), program()).settings));
        EXPECT_EQ(bytesOf(ini()), bytes);
    }

    // Nothing selected, nothing known, a greyed box and entries that could not come back.
    Settings unset;
    unset.startMode = 3;
    unset.windowLayout = -1;
    unset.caseSensitive = Qt::PartiallyChecked;
    unset.searchHistory = {u"a\nb"_s, u"c\r"_s};
    EXPECT_EQ(SettingsFile::text(unset).toUtf8(),
              bytesOf(QDir(Cases).filePath(u"written-unset.ini"_s)));
}

TEST_F(SettingsFileTest, ASaveReplacesTheWholeFileOrLeavesItAsItWas)
{
    write(ini(), QByteArray("[GREP  ]old\r\n").repeated(500));
    ASSERT_TRUE(SettingsFile::save(ini(), Settings()));
    EXPECT_EQ(bytesOf(ini()), SettingsFile::text(Settings()).toUtf8());

    // The file stays writable; only the folder is not: only a write in place could get through.
    const QByteArray old = "[TOOLBR]4\r\n";
    write(ini(), old);
    QFile::setPermissions(ini(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                     QFile::WriteOther);
    QFile::setPermissions(m_dir.path(),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    EXPECT_EQ(runUnprivileged([&] { return SettingsFile::save(ini(), Settings()) ? 1 : 0; }), 0);
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(bytesOf(ini()), old);
    EXPECT_FALSE(SettingsFile::save(m_dir.filePath(u"missing/Brelix.ini"_s), Settings()));
    // No half-written file is left beside it.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files),
              (QStringList{u"Brelix.ini"_s, u"plain file"_s}));
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadGivesTheStartValuesAndTheProgramsFolder)
{
    Settings unset;
    unset.folderHistory = {program()};
    const auto unread = [&] {
        const SettingsFile::Loaded loaded = SettingsFile::load(ini(), program());
        return loaded.recovered && loaded.settings == unset ? 0 : 1;
    };
    EXPECT_EQ(unread(), 0); // no file
    QDir(m_dir.path()).mkdir(u"Brelix.ini"_s);
    EXPECT_EQ(unread(), 0); // a folder
    QDir(m_dir.path()).rmdir(u"Brelix.ini"_s);
    write(ini(), "[TOOLBR]4\r\n");
    QFile::setPermissions(ini(), QFileDevice::Permissions());
    EXPECT_EQ(runUnprivileged(unread), 0);
}

} // namespace
} // namespace brelix::settings

namespace brelix::host {
namespace {

// The small rules of the case file, each line one input and what the rule gives for it.
TEST(RuleCases, EachLineOfTheCaseFileHolds)
{
    const QList<QStringList> cases = support::caseRows(u"rule-cases.tsv"_s);
    for (const QStringList& f : cases) {
        const QString& rule = f[0];
        QString actual;
        if (rule == u"history") {
            QStringList history = f[1].split(u' ', Qt::SkipEmptyParts);
            settings::History::pushFront(f[2], history);
            actual = history.join(u' ');
        } else if (rule == u"csv-field") {
            actual = QString::number(files::WorkbookKind::longestCsvField(f[1]));
        } else if (rule == u"column") {
            actual = columnLetters(f[1].toInt());
        } else if (rule == u"address") {
            actual = cellAddress(f[1].toInt(), f[2].toInt());
        } else if (rule == u"sheet-number") {
            actual = QString::number(compare::sheetNumber(f[1]));
        } else if (rule == u"sheet-range") {
            const auto range = compare::sheetRange(f[1], f[2]);
            actual = range ? u"%1-%2"_s.arg(range->start).arg(range->last) : u"refused"_s;
        } else if (rule == u"history-name") {
            actual = compare::changeHistorySheetName(f[1], f[2]);
            EXPECT_LE(actual.size(), 31); // the most a sheet name holds
        } else if (rule == u"leading-number") {
            actual = QString::number(settings::leadingNumber(f[1]));
        } else if (rule == u"cell-blocks") {
            QList<host::CellPosition> cells;
            for (const QString& cell : f[1].split(u' '))
                cells.append({cell.section(u',', 0, 0).toInt(), cell.section(u',', 1).toInt()});
            QStringList blocks;
            for (const host::CellRange& b : host::cellBlocks(cells))
                blocks.append(cellAddress(b.first.row, b.first.column) + u':' +
                              cellAddress(b.last.row, b.last.column));
            actual = blocks.join(u' ');
        }
        EXPECT_EQ(actual, f.last()) << f.join(u" | "_s).toStdString();
    }
    EXPECT_EQ(cases.size(), 88);
}

// A fill takes one of the palette's 56 indexes; any other index is no colour.
TEST(CellText, EveryCellOfTheGoldenFileGivesItsTwoTexts)
{
    const QList<QStringList> cases = support::caseRows(u"cell-texts.tsv"_s);
    for (const QStringList& f : cases) {
        ASSERT_EQ(f.size(), 7) << f.join(u'|').toStdString();
        const CellContent cell = support::cellOfCase(f);
        const QDate nullDate =
            f[3] == u"-" ? defaultNullDate() : QDate::fromString(f[3], Qt::ISODate);
        EXPECT_EQ(valueText(cell, nullDate), f[5]) << f.join(u'|').toStdString();
        EXPECT_EQ(formulaText(cell, nullDate), f[6]) << f.join(u'|').toStdString();
    }
    EXPECT_GT(cases.size(), 60);
}

} // namespace
} // namespace brelix::host

namespace brelix::language {
namespace {

TEST(UiLanguageTest, TheLocaleAndBrelixLangChooseTheLanguage)
{
    const support::SavedEnvironment environment{"LC_ALL", "LC_MESSAGES", "LANG", "BRELIX_LANG"};
    for (const QStringList& c : support::caseRows(u"ui-language.txt"_s)) {
        int i = 0;
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG", "BRELIX_LANG"}) {
            const QString value = c[i++];
            value == u"-" ? qunsetenv(variable) : qputenv(variable, value.toUtf8());
        }
        EXPECT_EQ(languageCode(processLanguage()), c[4]) << c.join(u' ').toStdString();
    }
}

// Every text of the sources has a finished English translation, free of Japanese, with the
// same placeholders, so that no English run shows a Japanese text or loses a file name.
TEST(UiLanguageTest, EveryTextHasAnEnglishTranslationWithItsPlaceholders)
{
    QFile file(QStringLiteral(BRELIX_TRANSLATIONS));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QRegularExpression japanese(u"[\u3001-\u30ff\u4e00-\u9fff\uff00-\uffef]"_s);
    const QRegularExpression placeholder(u"%\\d"_s);
    const auto placeholders = [&](const QString& text) {
        QStringList found;
        for (const auto& m : placeholder.globalMatch(text))
            found.append(m.captured());
        found.sort();
        return found;
    };
    QXmlStreamReader ts(&file);
    QString source;
    int messages = 0;
    while (!ts.atEnd()) {
        if (ts.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (ts.name() == u"source") {
            source = ts.readElementText();
        } else if (ts.name() == u"translation") {
            const bool unfinished = ts.attributes().hasAttribute(u"type"_s);
            const QString english = ts.readElementText();
            ++messages;
            EXPECT_FALSE(unfinished || english.isEmpty()) << source.toStdString();
            EXPECT_FALSE(english.contains(japanese)) << english.toStdString();
            EXPECT_EQ(placeholders(english), placeholders(source)) << source.toStdString();
        }
    }
    EXPECT_FALSE(ts.hasError()) << ts.errorString().toStdString();
    EXPECT_GT(messages, 100);
}

// Every Japanese text in the sources goes through the translation, so that an English run
// cannot show it: only names of files, folders, sheets and fonts stay as they are.
TEST(UiLanguageTest, EveryJapaneseTextOfTheSourcesIsTranslated)
{
    const QRegularExpression japaneseLiteral(
        u"\"[^\"]*[\u3001-\u30ff\u4e00-\u9fff\uff00-\uffef][^\"]*\""_s);
    const QStringList names{u"\"変更履歴\""_s,       u"\"Grep結果\""_s,       u"\"テストデータ\""_s,
                            u"\"/テストデータ/\""_s, u"\"変更履歴　\""_s,     u"\"セル %1\""_s,
                            u"\"ＭＳ ゴシック\""_s,  u"\"ＭＳ Ｐゴシック\""_s};
    QStringList untranslated;
    QDirIterator it(QStringLiteral(BRELIX_SOURCES), {u"*.cpp"_s, u"*.h"_s}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString code = lines[i].section(u"//"_s, 0, 0);
            // The call may open up to three lines above a line of its text.
            const QString before = lines.mid(qMax(0, i - 3), qMin<qsizetype>(i, 3) + 1).join(u' ');
            for (const auto& m : japaneseLiteral.globalMatch(code))
                if (!names.contains(m.captured()) && !before.contains(u"translate("_s) &&
                    !before.contains(u"QT_TRANSLATE_NOOP("_s))
                    untranslated << it.fileName() + u": "_s + lines[i].trimmed();
        }
    }
    EXPECT_EQ(untranslated, QStringList());
}

} // namespace
} // namespace brelix::language
