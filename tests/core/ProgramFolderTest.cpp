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
        {u"/h"_s, false, false, {K::Home, u"/h"_s}},
        {u"/h/sub/.."_s, false, false, {K::Home, u"/h"_s}},
        // A portable copy keeps its files beside itself, even when a per-user folder exists.
        {{}, true, true, {K::Executable, exe}},
        {{}, true, false, {K::Executable, exe}},
        // An installed copy uses the user's folder once it is there, else its own to read from.
        {{}, false, true, {K::PerUser, user}},
        {{}, false, false, {K::Executable, exe}},
    };
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
    // The test program lies in the build folder, which we can write to.
    const QString exe = QCoreApplication::applicationDirPath();
    const std::pair<const char*, ProgramFolderChoice> homes[] = {
        {nullptr, {ProgramFolderKind::Executable, exe}},
        {"", {ProgramFolderKind::Executable, exe}},
        {"sub/../bin", {ProgramFolderKind::Home, QDir::current().absoluteFilePath(u"bin"_s)}},
    };
    for (const auto& [value, choice] : homes) {
        if (value)
            qputenv("BRELIX_HOME", value);
        else
            qunsetenv("BRELIX_HOME");
        EXPECT_EQ(programFolderChoice(), choice) << (value ? value : "unset");
    }
    EXPECT_EQ(programFile(u"テストデータ"_s),
              QDir::current().absoluteFilePath(u"bin/テストデータ"_s));

    QTemporaryDir user;
    qputenv("HOME", QFile::encodeName(user.path()));
    const std::pair<const char*, QString> dataHomes[] = {
        {nullptr, user.path() + u"/.local/share/Brelix"_s},
        {"relative/data", user.path() + u"/.local/share/Brelix"_s}, // invalid and ignored
        {"/srv/data", u"/srv/data/Brelix"_s},
    };
    for (const auto& [value, folder] : dataHomes) {
        if (value)
            qputenv("XDG_DATA_HOME", value);
        else
            qunsetenv("XDG_DATA_HOME");
        EXPECT_EQ(perUserFolder(), folder);
    }
}

} // namespace
} // namespace brelix::files
