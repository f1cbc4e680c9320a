#include "core/settings/SettingsFile.h"

#include "GTestPrinters.h"
#include "core/files/TextDecoding.h"
#include "core/settings/SettingsNumber.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace brelix::settings {

void PrintTo(const Settings& settings, std::ostream* os)
{
    *os << SettingsFile::text(settings).toStdString();
}

namespace {

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

class SettingsFileTest : public ::testing::Test {
protected:
    QString iniPath() const { return m_dir.filePath(u"Brelix.ini"_s); }
    QString folder(const QString& name) const
    {
        QDir(m_dir.path()).mkpath(name);
        return m_dir.filePath(name);
    }
    void writeBytes(const QByteArray& bytes) const
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray fileBytes() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    SettingsFile::Loaded load() const { return SettingsFile::load(iniPath(), m_program); }
    SettingsFile::Loaded load(const QStringList& lines) const
    {
        writeBytes((lines.join(u"\r\n"_s) + u"\r\n"_s).toUtf8());
        return load();
    }
    // What a load gives when the file sets nothing.
    Settings defaults() const
    {
        Settings settings;
        settings.folderHistory = {m_program};
        return settings;
    }

    QTemporaryDir m_dir;
    const QString m_program = u"/opt/ブレリクス"_s;
};

// --- Writing and reading back ---

TEST_F(SettingsFileTest, EveryValueComesBackAfterASave)
{
    Settings saved;
    saved.startMode = 2;
    saved.top = -120;
    saved.left = 2880;
    saved.colourDifferences = Qt::Unchecked;
    saved.caseSensitive = Qt::Checked;
    saved.windowLayout = 2;
    saved.alwaysOnTop = true;
    saved.folderHistory = {folder(u"データ"_s), folder(u"a,b"_s), folder(u"c"_s),
                           folder(u"データ"_s)};
    saved.searchHistory = {u"合計,税込"_s, QString(), u"  blanks  "_s, u"x,[KIND  ]0"_s, u"表示"_s};
    saved.printScope = 3;
    saved.fileTypeFilter = 1;
    saved.toolbarRows = 5;
    saved.compareTarget = 1;
    saved.diffColourIndex = -32768;
    ASSERT_TRUE(SettingsFile::save(iniPath(), saved));

    const SettingsFile::Loaded loaded = load();
    EXPECT_FALSE(loaded.recovered);
    EXPECT_EQ(loaded.settings, saved);
    EXPECT_TRUE(fileBytes().contains(u"[GREP  ]合計,税込\r\n"_s.toUtf8())); // UTF-8 on disk
}

TEST_F(SettingsFileTest, WritesTheKeysInTheirOrder)
{
    Settings settings;
    settings.startMode = 1;
    settings.top = 1965;
    settings.left = 2880;
    settings.folderHistory = {u"/data"_s, u"/data/2"_s};
    settings.searchHistory = {u"total"_s};
    settings.printScope = 0;
    EXPECT_EQ(SettingsFile::text(settings),
              u"[KIND  ]1\r\n[TOP   ]1965\r\n[LEFT  ]2880\r\n[COLOR ]1\r\n[DAISYO]0\r\n"
              "[HYOUJI]0\r\n[FRONT ]0\r\n[PRINT ]/data\r\n[PRINT ]/data/2\r\n[GREP  ]total\r\n"
              "[Sheet ]0\r\n[PATRN ]0\r\n[TOOLBR]2\r\n[HIKAKU]0\r\n[DIFFCL]7\r\n"_s);

    // Nothing selected, nothing known, greyed and unrepresentable entries.
    settings = Settings();
    settings.startMode = 3;
    settings.windowLayout = -1;
    settings.caseSensitive = Qt::PartiallyChecked;
    settings.searchHistory = {u"a\nb"_s, u"c\r"_s};
    EXPECT_EQ(SettingsFile::text(settings),
              u"[COLOR ]1\r\n[DAISYO]2\r\n[FRONT ]0\r\n[PATRN ]0\r\n[TOOLBR]2\r\n[HIKAKU]0\r\n"
              "[DIFFCL]7\r\n"_s);
}

TEST_F(SettingsFileTest, ASaveReplacesTheWholeOldFile)
{
    writeBytes(QByteArray("[GREP  ]old\r\n").repeated(500));
    ASSERT_TRUE(SettingsFile::save(iniPath(), Settings()));
    EXPECT_EQ(fileBytes(), SettingsFile::text(Settings()).toUtf8());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"Brelix.ini"_s});
}

TEST_F(SettingsFileTest, AFailedSaveKeepsTheOldFileAndSaysSo)
{
    const QByteArray old = "[TOOLBR]4\r\n";
    writeBytes(old);
    // The file itself stays writable: only a write in place could get through.
    QFile::setPermissions(iniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ReadOther | QFileDevice::WriteOther);
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                            QFileDevice::ReadOther | QFileDevice::ExeOther);
    EXPECT_EQ(runUnprivileged([&] { return SettingsFile::save(iniPath(), Settings()) ? 1 : 0; }),
              0);
    QFile::setPermissions(m_dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(fileBytes(), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"Brelix.ini"_s});

    EXPECT_FALSE(SettingsFile::save(m_dir.filePath(u"missing/Brelix.ini"_s), Settings()));
}

// --- No file, damaged files ---

TEST_F(SettingsFileTest, NoFileGivesTheStartValuesAndTheProgramFolder)
{
    SettingsFile::Loaded loaded = load();
    EXPECT_TRUE(loaded.recovered);
    EXPECT_EQ(loaded.settings, defaults());

    folder(u"Brelix.ini"_s); // a folder cannot be read as the file
    loaded = load();
    EXPECT_TRUE(loaded.recovered);
    EXPECT_EQ(loaded.settings, defaults());

    QDir(m_dir.path()).rmdir(u"Brelix.ini"_s);
    writeBytes("[TOOLBR]4\r\n");
    QFile::setPermissions(iniPath(), QFileDevice::Permissions());
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner | QFileDevice::ExeOther);
    EXPECT_EQ(runUnprivileged([&] {
                  const SettingsFile::Loaded unreadable = load();
                  return unreadable.recovered && unreadable.settings == defaults() ? 0 : 1;
              }),
              0);
}

TEST_F(SettingsFileTest, EmptyBinaryAndCutFilesLoadWhatTheyCan)
{
    writeBytes(QByteArray());
    SettingsFile::Loaded loaded = load();
    EXPECT_FALSE(loaded.recovered);
    EXPECT_EQ(loaded.settings, defaults());

    std::mt19937 random(4);
    QByteArray binary;
    for (int i = 0; i < 65536; ++i)
        binary += static_cast<char>(random() % 256);
    writeBytes(binary);
    loaded = load();
    EXPECT_EQ(loaded.settings, defaults());

    writeBytes(QByteArrayLiteral("[TOOLBR]3\r\n[GREP  ]a\0b\r\n[HIKA"));
    loaded = load();
    EXPECT_EQ(loaded.settings.toolbarRows, 3);
    EXPECT_EQ(loaded.settings.searchHistory, QStringList{u"a"_s + QChar(0) + u"b"_s});
    EXPECT_EQ(loaded.settings.compareTarget, 0);
}

// --- Tags and lines ---

TEST_F(SettingsFileTest, OnlyExactTagsCount)
{
    const SettingsFile::Loaded loaded =
        load({u"[kind  ]2"_s, u"[KIND ]2"_s, u"[KIND   ]2"_s, u"[SHEET ]9"_s, u"[NEW   ]1"_s,
              u"[KIND  "_s, QString(), u"   [TOOLBR]4"_s, u"[HIKAKU]1"_s});
    EXPECT_FALSE(loaded.recovered);
    EXPECT_EQ(loaded.settings.startMode, 0);
    EXPECT_EQ(loaded.settings.printScope, -1);
    EXPECT_EQ(loaded.settings.toolbarRows, 4); // blanks before a tag are skipped
    EXPECT_EQ(loaded.settings.compareTarget, 1);
}

TEST_F(SettingsFileTest, LinesEndAtCrLfLfOrCrAndValuesAreTakenWhole)
{
    writeBytes("[GREP  ] a,b \n[TOOLBR]4\r[HIKAKU]1\r\n[GREP  ]\r\n[GREP  ]x,[KIND  ]2");
    const Settings settings = load().settings;
    EXPECT_EQ(settings.searchHistory, (QStringList{u" a,b "_s, QString(), u"x,[KIND  ]2"_s}));
    EXPECT_EQ(settings.toolbarRows, 4);
    EXPECT_EQ(settings.compareTarget, 1);
    EXPECT_EQ(settings.startMode, 0);
}

// --- Numbers and ranges ---

TEST(SettingsNumberTest, ReadsTheLeadingNumber)
{
    EXPECT_EQ(leadingNumber(u" 1 2 3"), 123);
    EXPECT_EQ(leadingNumber(u"- 12.5x"), -12.5);
    EXPECT_EQ(leadingNumber(u"+.5"), 0.5);
    EXPECT_EQ(leadingNumber(u"1.5E2"), 150);
    EXPECT_EQ(leadingNumber(u"2e"), 2);
    EXPECT_EQ(leadingNumber(u"1,5"), 1);
    EXPECT_EQ(leadingNumber(u"abc"), 0);
    EXPECT_EQ(leadingNumber(u"-"), 0);
    EXPECT_EQ(leadingNumber(u"１"), 0); // full-width digits are no number
    EXPECT_EQ(leadingNumber(u"1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber(u"1e-999"), 0);
    EXPECT_EQ(settingsNumber(u"2.5"), 2);
    EXPECT_EQ(settingsNumber(u"3.5"), 4);
    EXPECT_EQ(settingsNumber(u"-0.5"), 0);
}

TEST_F(SettingsFileTest, ValuesOutsideTheirRangeAreIgnored)
{
    SettingsFile::Loaded loaded =
        load({u"[TOOLBR]9"_s, u"[TOOLBR]-1"_s, u"[HIKAKU]3"_s, u"[COLOR ]2"_s, u"[DAISYO]-1"_s,
              u"[HYOUJI]3"_s, u"[FRONT ]2"_s, u"[GREP  ]after"_s});
    EXPECT_FALSE(loaded.recovered);
    Settings expected = defaults();
    expected.searchHistory = {u"after"_s};
    EXPECT_EQ(loaded.settings, expected);

    loaded =
        load({u"[KIND  ]7"_s, u"[TOP   ] 1 9 6 5"_s, u"[LEFT  ]-2147483648"_s, u"[COLOR ]0.4"_s,
              u"[HYOUJI]1.5"_s, u"[FRONT ]1"_s, u"[TOOLBR]4.5"_s, u"[HIKAKU]1"_s, u"[HIKAKU]x"_s,
              u"[DIFFCL]-32768.5"_s, u"[Sheet ]-0.4"_s, u"[PATRN ]-1"_s});
    EXPECT_FALSE(loaded.recovered);
    expected = defaults();
    expected.startMode = 7;
    expected.top = 1965;
    expected.left = -2147483647 - 1;
    expected.colourDifferences = Qt::Unchecked;
    expected.windowLayout = 2;
    expected.alwaysOnTop = true;
    expected.toolbarRows = 4;
    expected.diffColourIndex = -32768;
    expected.printScope = 0;
    expected.fileTypeFilter = -1;
    EXPECT_EQ(loaded.settings, expected);
}

TEST_F(SettingsFileTest, TheLastOfAKeyWins)
{
    const Settings settings = load({u"[HYOUJI]2"_s, u"[HYOUJI]1"_s, u"[TOP   ]1"_s, u"[TOP   ]2"_s,
                                    u"[FRONT ]1"_s, u"[FRONT ]0"_s})
                                  .settings;
    EXPECT_EQ(settings.windowLayout, 1);
    EXPECT_EQ(settings.top, 2);
    EXPECT_FALSE(settings.alwaysOnTop);
}

// A record that stops the reading keeps what came before it and drops what follows.
TEST_F(SettingsFileTest, BadSheetPatrnOrNumberSizesEndInTheRecoveryPath)
{
    const QString data = folder(u"data"_s);
    const QStringList stoppers = {
        u"[Sheet ]7"_s,       u"[Sheet ]-1"_s,     u"[PATRN ]5"_s,          u"[PATRN ]-2"_s,
        u"[KIND  ]32767.5"_s, u"[DIFFCL]-32769"_s, u"[TOP   ]2147483648"_s, u"[LEFT  ]1E10"_s};
    for (const QString& stopper : stoppers) {
        const SettingsFile::Loaded loaded =
            load({u"[PRINT ]"_s + data, u"[GREP  ]a"_s, u"[TOOLBR]4"_s, u"[Sheet ]2"_s, stopper,
                  u"[GREP  ]b"_s, u"[HIKAKU]1"_s, u"[PRINT ]"_s + m_dir.path()});
        EXPECT_TRUE(loaded.recovered) << stopper.toStdString();
        Settings expected = defaults();
        expected.folderHistory = {data, m_program};
        expected.searchHistory = {u"a"_s};
        expected.toolbarRows = 4;
        expected.printScope = 2;
        EXPECT_EQ(loaded.settings, expected) << stopper.toStdString();
    }
    // The program's folder is added even when it is listed already.
    const SettingsFile::Loaded loaded = SettingsFile::load(iniPath(), data);
    EXPECT_EQ(loaded.settings.folderHistory, (QStringList{data, data}));
}

// --- Histories ---

TEST_F(SettingsFileTest, HistoriesLoadWholeWithExistingFoldersOnly)
{
    QStringList lines;
    QStringList folders;
    for (int i = 0; i < 8; ++i) {
        folders += folder(u"folder %1"_s.arg(i));
        lines += u"[PRINT ]"_s + folders.last();
        lines += u"[GREP  ]text %1"_s.arg(i % 3);
    }
    QFile(m_dir.filePath(u"plain file"_s)).open(QIODevice::WriteOnly);
    lines += {u"[PRINT ]"_s, u"[PRINT ]"_s + m_dir.filePath(u"gone"_s),
              u"[PRINT ]"_s + m_dir.filePath(u"plain file"_s)};
    const Settings settings = load(lines).settings;
    EXPECT_EQ(settings.folderHistory, folders);
    EXPECT_EQ(settings.searchHistory.size(), 8);
    EXPECT_EQ(settings.searchHistory.at(3), u"text 0"_s);

    EXPECT_EQ(load({u"[PRINT ]"_s + m_dir.filePath(u"gone"_s)}).settings.folderHistory,
              QStringList{m_program});
}

// --- Encodings ---

TEST_F(SettingsFileTest, ShiftJisFilesOfTheOriginalPlatformStillLoad)
{
    const QString japanese = folder(u"データ"_s);
    // 合計, 表示 (its second byte is 0x5C), ①～ (CP932 only), then the folder in Shift-JIS.
    writeBytes(
        "[GREP  ]\x8d\x87\x8c\x76\r\n[GREP  ]\x95\x5c\x8e\xa6\r\n[GREP  ]\x87\x40\x81\x60\r\n"
        "[PRINT ]" +
        m_dir.path().toUtf8() + "/\x83\x66\x81\x5b\x83\x5e\r\n[TOOLBR]4\r\n");
    const Settings settings = load().settings;
    EXPECT_EQ(settings.searchHistory, (QStringList{u"合計"_s, u"表示"_s, u"①～"_s}));
    EXPECT_EQ(settings.folderHistory, QStringList{japanese});
    EXPECT_EQ(settings.toolbarRows, 4);

    writeBytes("\xef\xbb\xbf[TOOLBR]3\r\n[GREP  ]\xe8\xa1\xa8\r\n"); // UTF-8 with a mark
    EXPECT_EQ(load().settings.toolbarRows, 3);
    EXPECT_EQ(load().settings.searchHistory, QStringList{u"表"_s});
}

} // namespace
} // namespace brelix::settings
