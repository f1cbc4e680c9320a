#include "core/files/ProgramFolderSetup.h"

#include "SavedEnvironment.h"
#include "core/files/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::files {
namespace {

using Problem = ProgramFolderSetup::Problem;

// An installed folder with what an install puts there, and an empty place for the user's.
class ProgramFolderSetupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_installed = m_root.filePath(u"lib/brelix"_s);
        m_user = m_root.filePath(u"home/.local/share/Brelix"_s);
        write(installed(u"Brelix_Format.xls"_s), "template");
        write(installed(u"Brelix.html"_s), "manual");
        write(installed(u"images/compare.png"_s), "picture");
        write(installed(u"テストデータ/TEST1.xls"_s), "test 1");
        write(installed(u"テストデータ/TEST2.csv"_s), "test 2");
        write(installed(u"brelix"_s), "program");
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        file.write(bytes);
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QString installed(const QString& name) const { return QDir(m_installed).filePath(name); }
    QString user(const QString& name) const { return QDir(m_user).filePath(name); }
    ProgramFolderSetup seed() const { return ProgramFolderSetup::seed(m_user, m_installed); }

    QTemporaryDir m_root;
    QString m_installed;
    QString m_user;
};

TEST_F(ProgramFolderSetupTest, TheFirstStartMakesTheFolderAndCopiesTheInstalledFiles)
{
    const ProgramFolderSetup setup = seed();
    EXPECT_TRUE(setup.problems().isEmpty());
    EXPECT_EQ(setup.message(), QString());
    EXPECT_EQ(setup.userFolder(), m_user);
    EXPECT_EQ(read(user(u"Brelix_Format.xls"_s)), "template");
    EXPECT_EQ(read(user(u"Brelix.html"_s)), "manual");
    EXPECT_EQ(read(user(u"images/compare.png"_s)), "picture");
    EXPECT_EQ(read(user(u"テストデータ/TEST1.xls"_s)), "test 1");
    EXPECT_EQ(read(user(u"テストデータ/TEST2.csv"_s)), "test 2");
    // Only what the program reads: no executables, no settings, no outputs.
    EXPECT_FALSE(QFileInfo::exists(user(u"brelix"_s)));
    EXPECT_FALSE(QFileInfo::exists(user(u"Brelix.ini"_s)));
    EXPECT_FALSE(QFileInfo::exists(user(u"Brelix.xls"_s)));
}

TEST_F(ProgramFolderSetupTest, CopiesAreWritableEvenWhenTheInstalledFilesAreNot)
{
    QFile::setPermissions(installed(u"Brelix_Format.xls"_s), QFile::ReadOwner | QFile::ReadOther);
    seed();
    EXPECT_TRUE(QFile::permissions(user(u"Brelix_Format.xls"_s)) & QFile::WriteOwner);
}

TEST_F(ProgramFolderSetupTest, LaterStartsKeepWhatTheUserHasAndAddWhatIsMissing)
{
    seed();
    write(user(u"Brelix.ini"_s), "[KIND  ]1\r\n");
    write(user(u"Brelix_Format.xls"_s), "my own template");
    write(user(u"テストデータ/TEST1.xls"_s), "edited");
    QFile::remove(user(u"テストデータ/TEST2.csv"_s));
    write(user(u"Brelix.xls"_s), "last result");

    const ProgramFolderSetup again = seed();
    EXPECT_TRUE(again.problems().isEmpty());
    EXPECT_EQ(read(user(u"Brelix.ini"_s)), "[KIND  ]1\r\n");
    EXPECT_EQ(read(user(u"Brelix_Format.xls"_s)), "my own template");
    EXPECT_EQ(read(user(u"テストデータ/TEST1.xls"_s)), "edited");
    EXPECT_EQ(read(user(u"テストデータ/TEST2.csv"_s)), "test 2");
    EXPECT_EQ(read(user(u"Brelix.xls"_s)), "last result");
}

TEST_F(ProgramFolderSetupTest, AnUpgradedManualReplacesTheCopy)
{
    seed();
    write(installed(u"Brelix.html"_s), "manual, second edition");
    write(installed(u"images/compare.png"_s), "new picture");
    write(installed(u"images/search.png"_s), "another picture");
    seed();
    EXPECT_EQ(read(user(u"Brelix.html"_s)), "manual, second edition");
    EXPECT_EQ(read(user(u"images/compare.png"_s)), "new picture");
    EXPECT_EQ(read(user(u"images/search.png"_s)), "another picture");
}

TEST_F(ProgramFolderSetupTest, AMissingTemplateOrManualIsReportedAndTheRestIsStillCopied)
{
    QFile::remove(installed(u"Brelix_Format.xls"_s));
    QFile::remove(installed(u"Brelix.html"_s));
    const ProgramFolderSetup setup = seed();
    EXPECT_EQ(setup.problems(), (QList<Problem>{Problem::TemplateMissing, Problem::ManualMissing}));
    EXPECT_EQ(read(user(u"テストデータ/TEST1.xls"_s)), "test 1");
    EXPECT_EQ(setup.message(), u"Brelix_Format.xls がインストール先にありません。\r\n"_s +
                                   m_installed +
                                   u"\r\n比較と検索はできません。Brelix を入れ直して下さい。"
                                   u"\r\n\r\nBrelix.html がインストール先にありません。\r\n"_s +
                                   m_installed + u"\r\nヘルプは表示できません。"_s);
    EXPECT_EQ(ProgramFolderSetup::title(), u"フォルダ準備エラー"_s);

    // A template seeded by an earlier start is enough.
    write(user(u"Brelix_Format.xls"_s), "template");
    EXPECT_EQ(seed().problems(), QList<Problem>{Problem::ManualMissing});
}

TEST_F(ProgramFolderSetupTest, AFolderThatCannotBeMadeIsReportedAndTheInstalledFilesServe)
{
    // A plain file where a folder of the path should be: no user, root included, gets past it.
    write(m_root.filePath(u"blocked"_s), "a file");
    const QString blocked = m_root.filePath(u"blocked/.local/share/Brelix"_s);
    const ProgramFolderSetup setup = ProgramFolderSetup::seed(blocked, m_installed);
    EXPECT_EQ(setup.problems(), QList<Problem>{Problem::FolderNotCreated});
    EXPECT_EQ(setup.message(),
              u"個人用フォルダを作成できません。\r\n"_s + blocked +
                  u"\r\n設定 (Brelix.ini) と結果 (Brelix.xls, Brelix.grp) は保存されません。"_s);

    QFile::remove(installed(u"Brelix.html"_s));
    EXPECT_EQ(ProgramFolderSetup::seed(blocked, m_installed).problems(),
              (QList<Problem>{Problem::FolderNotCreated, Problem::ManualMissing}));
}

// The process's own set-up, with HOME and BRELIX_HOME as a user would have them.
class ProgramFolderSetupRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qunsetenv("XDG_DATA_HOME");
    }

    support::SavedEnvironment m_environment{"BRELIX_HOME", "HOME", "XDG_DATA_HOME"};
    int m_argc = 1;
    char m_name[16] = "core_tests";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_app{m_argc, m_argv};
    QTemporaryDir m_home;
};

TEST_F(ProgramFolderSetupRunTest, BrelixHomeOrAWritableExecutablesFolderNeedNoPerUserFolder)
{
    qputenv("BRELIX_HOME", QFile::encodeName(m_home.path()));
    EXPECT_TRUE(ProgramFolderSetup::run().problems().isEmpty());
    qunsetenv("BRELIX_HOME");
    // The test program runs from the build folder, which is writable.
    EXPECT_TRUE(ProgramFolderSetup::run().problems().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(m_home.filePath(u".local/share/Brelix"_s)));
    EXPECT_EQ(programFolder(), QCoreApplication::applicationDirPath());
}

} // namespace
} // namespace brelix::files
