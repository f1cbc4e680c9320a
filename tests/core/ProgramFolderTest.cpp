#include "core/files/ProgramFolder.h"

#include "SavedEnvironment.h"
#include "core/files/ProgramFolderSetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::files {
namespace {

TEST(ProgramFolderTest, TheRuleOrdersHomeExecutableAndPerUserFolder)
{
    const QString exe = u"/usr/lib/brelix"_s;
    const QString user = u"/home/a/.local/share/Brelix"_s;
    using K = ProgramFolderKind;
    const struct {
        QString home;
        bool exeWritable, userExists;
        ProgramFolderChoice choice;
    } cases[] = {
        {u"/h"_s, true, true, {K::Home, u"/h"_s}}, // BRELIX_HOME wins over everything
        {u"/h/sub/.."_s, false, false, {K::Home, u"/h"_s}},
        // A portable copy keeps its files beside itself, even when a per-user folder exists.
        {{}, true, true, {K::Executable, exe}},
        {{}, true, false, {K::Executable, exe}},
        // An installed copy uses the user's folder once it is there, else its own to read from.
        {{}, false, true, {K::PerUser, user}},
        {{}, false, false, {K::Executable, exe}}};
    for (const auto& [home, exeWritable, userExists, choice] : cases)
        EXPECT_EQ(chooseProgramFolder(home, exe, exeWritable, user, userExists), choice)
            << home.toStdString() << exeWritable << userExists;
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
    const auto set = [](const char* variable, const char* value) {
        if (value)
            qputenv(variable, value);
        else
            qunsetenv(variable);
    };
    // The test program lies in the build folder, which we can write to.
    const ProgramFolderChoice exe{ProgramFolderKind::Executable,
                                  QCoreApplication::applicationDirPath()};
    const QString home = QDir::current().absoluteFilePath(u"bin"_s);
    const QString ownData = user.path() + u"/.local/share/Brelix"_s;
    const struct {
        const char *brelixHome, *dataHome;
        ProgramFolderChoice choice;
        QString perUser;
    } environments[] = {
        {nullptr, nullptr, exe, ownData},
        {"", "relative/data", exe, ownData}, // a relative one is ignored
        {"sub/../bin", "/srv/data", {ProgramFolderKind::Home, home}, u"/srv/data/Brelix"_s}};
    for (const auto& [brelixHome, dataHome, choice, perUser] : environments) {
        set("BRELIX_HOME", brelixHome);
        set("XDG_DATA_HOME", dataHome);
        EXPECT_EQ(programFolderChoice(), choice) << (brelixHome ? brelixHome : "unset");
        EXPECT_EQ(perUserFolder(), perUser);
    }
    EXPECT_EQ(programFile(u"テストデータ"_s), home + u"/テストデータ"_s);
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

    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        file.write(bytes);
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
    EXPECT_EQ(userFiles(), u"Brelix.html: installed Brelix.html\n"
                           u"Brelix_Format.xls: installed Brelix_Format.xls\n"
                           u"images/compare.png: installed images/compare.png\n"
                           u"テストデータ/TEST1.xls: installed テストデータ/TEST1.xls\n"
                           u"テストデータ/TEST2.csv: installed テストデータ/TEST2.csv"_s);
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
    EXPECT_EQ(userFiles(), u"Brelix.html: upgraded manual\nBrelix.ini: settings\n"
                           u"Brelix_Format.xls: my template\nimages/compare.png: new picture\n"
                           u"images/search.png: another picture\n"
                           u"テストデータ/TEST1.xls: edited\n"
                           u"テストデータ/TEST2.csv: installed テストデータ/TEST2.csv"_s);
}

TEST_F(ProgramFolderSetupTest, WhatCannotBeDoneIsReportedAndTheRestIsStillDone)
{
    QFile::remove(installed(u"Brelix_Format.xls"_s));
    QFile::remove(installed(u"Brelix.html"_s));
    ProgramFolderSetup setup = seed();
    EXPECT_EQ(setup.problems(), (QList<Problem>{Problem::TemplateMissing, Problem::ManualMissing}));
    EXPECT_TRUE(QFileInfo::exists(user(u"テストデータ/TEST1.xls"_s)));
    EXPECT_EQ(setup.message(), u"Brelix_Format.xls がインストール先にありません。\r\n"_s +
                                   m_installed +
                                   u"\r\n比較と検索はできません。Brelix を入れ直して下さい。"
                                   u"\r\n\r\nBrelix.html がインストール先にありません。\r\n"_s +
                                   m_installed + u"\r\nヘルプは表示できません。"_s);
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
    EXPECT_TRUE(setup.message().startsWith(
        u"個人用フォルダを作成できません。\r\n"_s + blocked +
        u"\r\n設定 (Brelix.ini) と結果 (Brelix.xls, Brelix.grp) は保存されません。\r\n\r\n"_s));

    // A program's folder given by BRELIX_HOME that cannot be written is said once at start.
    const support::SavedEnvironment environment{"BRELIX_HOME"};
    qputenv("BRELIX_HOME", QFile::encodeName(m_installed));
    EXPECT_TRUE(ProgramFolderSetup::run().problems().isEmpty());
    qputenv("BRELIX_HOME", QFile::encodeName(blocked));
    EXPECT_EQ(ProgramFolderSetup::run().message(),
              u"プログラムのフォルダに書き込めません。\r\n"_s + blocked +
                  u"\r\n設定 (Brelix.ini) と結果 (Brelix.xls, Brelix.grp) は保存されません。"_s);
}

} // namespace
} // namespace brelix::files
