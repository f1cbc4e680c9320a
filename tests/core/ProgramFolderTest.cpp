#include "core/files/ProgramFolder.h"

#include "SavedEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::files {
namespace {

// The test runner sets BRELIX_HOME; each test changes it, HOME and XDG_DATA_HOME, and puts
// them back as it found them.
class ProgramFolderTest : public ::testing::Test {
protected:
    support::SavedEnvironment m_environment{"BRELIX_HOME", "HOME", "XDG_DATA_HOME"};
    // The executable's folder is only known to a running application.
    int m_argc = 1;
    char m_name[16] = "core_tests";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_app{m_argc, m_argv};
};

TEST_F(ProgramFolderTest, PrefersBrelixHome)
{
    const QString home = QDir::tempPath() + u"/ブレリクス home"_s;
    qputenv("BRELIX_HOME", home.toUtf8());
    EXPECT_EQ(programFolder(), home);
    EXPECT_EQ(programFolderChoice().kind, ProgramFolderKind::Home);
    EXPECT_EQ(programFile(u"Brelix_Format.xls"_s), home + u"/Brelix_Format.xls"_s);

    qputenv("BRELIX_HOME", (home + u"/"_s).toUtf8());
    EXPECT_EQ(programFolder(), home);
}

TEST_F(ProgramFolderTest, ResolvesARelativeBrelixHomeFromTheCurrentFolder)
{
    qputenv("BRELIX_HOME", "sub/../bin");
    EXPECT_EQ(programFolder(), QDir::current().absoluteFilePath(u"bin"_s));
}

TEST_F(ProgramFolderTest, AWritableExecutablesFolderIsTheProgramsFolder)
{
    // The test program lies in the build folder, which we can write to.
    const QString exeFolder = QCoreApplication::applicationDirPath();
    ASSERT_FALSE(exeFolder.isEmpty());

    qunsetenv("BRELIX_HOME");
    EXPECT_EQ(programFolderChoice(),
              (ProgramFolderChoice{ProgramFolderKind::Executable, exeFolder}));
    EXPECT_EQ(programFile(u"テストデータ"_s), exeFolder + u"/テストデータ"_s);

    qputenv("BRELIX_HOME", "");
    EXPECT_EQ(programFolder(), exeFolder);
}

TEST_F(ProgramFolderTest, TheRuleOrdersHomeExecutableAndPerUserFolder)
{
    const QString exe = u"/usr/lib/brelix"_s;
    const QString user = u"/home/a/.local/share/Brelix"_s;
    using K = ProgramFolderKind;
    // BRELIX_HOME wins over everything.
    EXPECT_EQ(chooseProgramFolder(u"/h"_s, exe, true, user, true),
              (ProgramFolderChoice{K::Home, u"/h"_s}));
    EXPECT_EQ(chooseProgramFolder(u"/h"_s, exe, false, user, true),
              (ProgramFolderChoice{K::Home, u"/h"_s}));
    // A portable copy keeps its files beside itself, even when a per-user folder exists.
    EXPECT_EQ(chooseProgramFolder({}, exe, true, user, true),
              (ProgramFolderChoice{K::Executable, exe}));
    EXPECT_EQ(chooseProgramFolder({}, exe, true, user, false),
              (ProgramFolderChoice{K::Executable, exe}));
    // An installed copy uses the user's folder once it is there ...
    EXPECT_EQ(chooseProgramFolder({}, exe, false, user, true),
              (ProgramFolderChoice{K::PerUser, user}));
    // ... and reads from its own folder when that folder could not be made.
    EXPECT_EQ(chooseProgramFolder({}, exe, false, user, false),
              (ProgramFolderChoice{K::Executable, exe}));
}

TEST_F(ProgramFolderTest, ThePerUserFolderLiesUnderTheUsersDataDirectory)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(perUserFolder(), home.path() + u"/.local/share/Brelix"_s);

    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    EXPECT_EQ(perUserFolder(), data.path() + u"/Brelix"_s);

    // A relative XDG_DATA_HOME is invalid and ignored.
    qputenv("XDG_DATA_HOME", "relative/data");
    EXPECT_EQ(perUserFolder(), home.path() + u"/.local/share/Brelix"_s);
}

} // namespace
} // namespace brelix::files
