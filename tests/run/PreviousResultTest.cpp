#include "core/run/PreviousResult.h"

#include "TestData.h"
#include "core/files/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::run {
namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A run killed while it worked leaves the last whole result set aside and its own unfinished
// one in place: the next run keeps the whole one, to put back or to drop.
TEST(PreviousResultTest, AResultLeftAsideByAKilledRunIsTheOneKept)
{
    for (const bool saved : {false, true}) {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(u"Brelix.xls"_s);
        write(path + files::kSetAsideSuffix, "whole");
        write(path, "unfinished");
        PreviousResult previous(path);
        EXPECT_FALSE(QFile::exists(path));
        if (saved) {
            write(path, "new");
            previous.drop();
            EXPECT_EQ(support::bytesOf(path), "new");
        } else {
            previous.restore();
            EXPECT_EQ(support::bytesOf(path), "whole");
        }
        EXPECT_FALSE(QFile::exists(path + files::kSetAsideSuffix));
    }
}

} // namespace
} // namespace brelix::run
