#include "core/run/ResultsTurn.h"

#include "ScriptedRunUi.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace brelix::run {
namespace {

// Runs with their results in one folder take turns, whatever the results file is called; a run
// in another folder, or in one that cannot be locked, goes on at once; a run cancelled while it
// waits gives up.
TEST(ResultsTurnTest, RunsWritingInOneFolderTakeTurns)
{
    QTemporaryDir dir, other;
    support::ScriptedRunUi ui;
    auto first = std::make_unique<ResultsTurn>(QDir(dir.path()).filePath(u"Brelix.xls"_s));
    ASSERT_TRUE(first->take(ui));
    EXPECT_TRUE(ResultsTurn(QDir(other.path()).filePath(u"Brelix.xls"_s)).take(ui));
    EXPECT_TRUE(ResultsTurn(u"/nonexistent-folder/Brelix.xls"_s).take(ui));
    EXPECT_EQ(ui.calls(), QStringList()) << "waited where nothing held the folder";

    ResultsTurn second(QDir(dir.path()).filePath(u"Other.xls"_s));
    ui.cancelAtEvent(3);
    EXPECT_FALSE(second.take(ui));
    EXPECT_EQ(ui.calls().count(u"events"_s), 3);
    first.reset();
    ui.clearCancel();
    EXPECT_TRUE(second.take(ui));
}

} // namespace
} // namespace brelix::run
