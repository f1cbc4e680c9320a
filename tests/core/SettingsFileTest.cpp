#include "core/settings/SettingsFile.h"

#include "GTestPrinters.h"
#include "core/settings/SettingsNumber.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace brelix::settings {
namespace {

const QString Cases = QStringLiteral(BRELIX_SETTINGS_CASES);

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

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
           u'\n';
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
    const SettingsFile::Loaded loaded = loadCase(u"every-key.ini"_s);
    ASSERT_TRUE(SettingsFile::save(ini(), loaded.settings));
    EXPECT_EQ(bytesOf(ini()), everyKey);

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

TEST_F(SettingsFileTest, LongHistoriesAreCutToTheirFirstSixEntriesWhenRead)
{
    QByteArray text;
    for (int i = 0; i < 5000; ++i)
        text += "[GREP  ]" + QByteArray::number(i) + "\r\n[PRINT ]" + m_dir.path().toUtf8() +
                (i % 2 ? "/data" : "/gone") + "\r\n";
    write(ini(), text);
    const Settings settings = SettingsFile::load(ini(), program()).settings;
    EXPECT_EQ(settings.searchHistory,
              QStringList({u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}));
    EXPECT_EQ(settings.folderHistory, QStringList(6, m_dir.filePath(u"data"_s)));
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

TEST(SettingsNumberTest, ReadsTheLeadingNumber)
{
    const std::pair<QStringView, double> numbers[] = {
        {u" 1 2 3", 123}, {u"- 12.5x", -12.5}, {u"+.5", 0.5}, {u"1.5E2", 150}, {u"2e", 2},
        {u"1,5", 1},      {u"abc", 0},         {u"-", 0},     {u"１", 0},      {u"1e-999", 0}};
    for (const auto& [text, number] : numbers)
        EXPECT_EQ(leadingNumber(text), number) << text.toString().toStdString();
    EXPECT_EQ(leadingNumber(u"1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(settingsNumber(u"2.5"), 2);
    EXPECT_EQ(settingsNumber(u"3.5"), 4);
}

} // namespace
} // namespace brelix::settings
