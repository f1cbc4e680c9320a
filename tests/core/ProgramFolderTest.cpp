#include "shell/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>
#include <optional>

namespace brelix::shell {
namespace {

// The test runner sets BRELIX_HOME; each test changes it and puts it back as it found it.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsSet("BRELIX_HOME"))
            m_saved = qgetenv("BRELIX_HOME");
    }
    void TearDown() override
    {
        if (m_saved)
            qputenv("BRELIX_HOME", *m_saved);
        else
            qunsetenv("BRELIX_HOME");
    }

    // The executable's folder is only known to a running application.
    int m_argc = 1;
    char m_name[16] = "core_tests";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_app{m_argc, m_argv};

private:
    std::optional<QByteArray> m_saved;
};

TEST_F(ProgramFolderTest, PrefersBrelixHome)
{
    const QString home = QDir::tempPath() + QStringLiteral("/ブレリクス home");
    qputenv("BRELIX_HOME", home.toUtf8());
    EXPECT_EQ(programFolder(), home);
    EXPECT_EQ(programFile(QStringLiteral("Brelix_Format.xls")),
              home + QStringLiteral("/Brelix_Format.xls"));

    qputenv("BRELIX_HOME", (home + QStringLiteral("/")).toUtf8());
    EXPECT_EQ(programFolder(), home);
}

TEST_F(ProgramFolderTest, ResolvesARelativeBrelixHomeFromTheCurrentFolder)
{
    qputenv("BRELIX_HOME", "sub/../bin");
    EXPECT_EQ(programFolder(), QDir::current().absoluteFilePath(QStringLiteral("bin")));
}

TEST_F(ProgramFolderTest, FallsBackToTheExecutablesFolder)
{
    const QString exeFolder = QCoreApplication::applicationDirPath();
    ASSERT_FALSE(exeFolder.isEmpty());

    qunsetenv("BRELIX_HOME");
    EXPECT_EQ(programFolder(), exeFolder);
    EXPECT_EQ(programFile(QStringLiteral("テストデータ")),
              exeFolder + QStringLiteral("/テストデータ"));

    qputenv("BRELIX_HOME", "");
    EXPECT_EQ(programFolder(), exeFolder);
}

} // namespace
} // namespace brelix::shell
