#include "core/files/ProgramFolder.h"

#include "SavedEnvironment.h"

#include <QCoreApplication>
#include <QDir>
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

} // namespace
} // namespace brelix::files
