#include "core/files/FolderFileList.h"

#include "GTestPrinters.h"
#include "core/files/FolderListing.h"
#include "core/settings/History.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::files {
namespace {

using settings::History;

QString fileName(int i)
{
    return u"f%1.xls"_s.arg(i, 2, 10, QChar(u'0'));
}

QStringList fileNames(std::initializer_list<int> indexes)
{
    QStringList names;
    for (int i : indexes)
        names.append(fileName(i));
    return names;
}

TEST(FolderFileListTest, HeaderPressesReverseTheSameOrderAndStartTheOtherAscending)
{
    const std::pair<int, qint16> presses[] = {{NameTitle, SortByNameReverse},
                                              {NameTitle, SortByName},
                                              {TimeTitle, SortByTime},
                                              {TimeTitle, SortByTimeReverse},
                                              {NameTitle, SortByName},
                                              {TimeTitle, SortByTime},
                                              {2, SortByTime}};
    qint16 sort = SortByName;
    for (const auto& [title, expected] : presses) {
        sort = sortAfterTitlePress(sort, title);
        EXPECT_EQ(sort, expected) << title;
    }
    EXPECT_EQ(sortAfterTitlePress(0, TimeTitle), SortByTime);
}

TEST(FolderFileListTest, NameOrdersKeepEachTimeBesideItsName)
{
    const QList<FolderEntry> files = {{u"a.xls"_s, u"2001/01/01 00:00"_s},
                                      {u"B.xls"_s, u"1999/12/31 23:59"_s}};
    EXPECT_EQ(buildFileList(files, SortByName),
              (FileListColumns{{u"a.xls"_s, u"B.xls"_s},
                               {u"2001/01/01 00:00"_s, u"1999/12/31 23:59"_s}}));
    EXPECT_EQ(buildFileList(files, SortByNameReverse),
              (FileListColumns{{u"B.xls"_s, u"a.xls"_s},
                               {u"1999/12/31 23:59"_s, u"2001/01/01 00:00"_s}}));
    for (qint16 other : {0, 5, -1})
        EXPECT_EQ(buildFileList(files, other), FileListColumns{}) << other;
}

TEST(FolderFileListTest, SameMinuteFilesFollowTheTextOfTheirIndex)
{
    // Indexes 2, 9 and 10 share a minute; the others lie before or after it.
    QList<FolderEntry> files;
    for (int i = 0; i < 12; ++i) {
        const bool tied = i == 2 || i == 9 || i == 10;
        files.append({fileName(i), tied    ? u"2000/09/01 12:00"_s
                                   : i < 6 ? u"1999/01/%1 08:30"_s.arg(i + 10)
                                           : u"2001/03/%1 17:45"_s.arg(i + 10)});
    }
    const FileListColumns oldest = buildFileList(files, SortByTime);
    EXPECT_EQ(oldest.names, fileNames({0, 1, 3, 4, 5, 10, 2, 9, 6, 7, 8, 11}));
    // The time column shows the whole key.
    EXPECT_EQ(oldest.times.mid(5, 2),
              (QStringList{u"2000/09/01 12:00    10"_s, u"2000/09/01 12:00    2"_s}));
    EXPECT_EQ(buildFileList(files, SortByTimeReverse).names,
              fileNames({11, 8, 7, 6, 9, 2, 10, 5, 4, 3, 1, 0}));
}

// Real files, since the listing and the times come from the disk.
TEST(FolderFileListTest, ListingTakesVisibleMatchingFilesInNameOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDateTime minute(QDate(2000, 9, 1), QTime(12, 0));
    const auto touch = [&](const QString& name, const QDateTime& time) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).path());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    };
    touch(u"B.XLS"_s, minute.addSecs(59));
    touch(u"a.xls"_s, minute.addYears(-1));
    for (const QString& skipped : {u".hidden.xls"_s, u"c.xlsx"_s, u"d.csv"_s, u"sub.xls/e.xls"_s})
        touch(skipped, minute);

    const std::optional<FolderListing> listing = FolderListing::read(dir.path() + u'/', u"*.xls"_s);
    ASSERT_TRUE(listing);
    EXPECT_EQ(*listing, (FolderListing{dir.path(), {u"a.xls"_s, u"B.XLS"_s}}));
    EXPECT_EQ(
        (FolderListing{listing->folder, listing->names + QStringList{u"gone.xls"_s}}.entries()),
        (QList<FolderEntry>{{u"a.xls"_s, u"1999/09/01 12:00"_s},
                            {u"B.XLS"_s, u"2000/09/01 12:00"_s},
                            {u"gone.xls"_s, QString()}}));
    EXPECT_EQ(FolderListing::read(dir.path(), fileTypePatterns().at(1))->names,
              QStringList{u"d.csv"_s});
    EXPECT_TRUE(FolderListing::read(dir.path(), QString())->names.isEmpty());
    EXPECT_EQ(FolderListing::read(u"/"_s, u"*.xls"_s)->folder, u"/"_s);

    // Texts that name no folder leave the previous listing to the caller.
    for (const QString& text : {QString(), u"tmp"_s, dir.filePath(u"missing"_s),
                                dir.filePath(u"d.csv"_s), dir.path().chopped(1)})
        EXPECT_FALSE(FolderListing::read(text, u"*.xls"_s)) << text.toStdString();
}

TEST(FolderFileListTest, TimeTextAndPathsForTheJobs)
{
    EXPECT_EQ(timeText(QDateTime(QDate(2004, 1, 2), QTime(3, 4, 59))), u"2004/01/02 03:04"_s);
    EXPECT_EQ(timeText(QDateTime()), QString());
    EXPECT_EQ(listedFilePath(u"/"_s, u"売上.xls"_s), u"/売上.xls"_s);
    EXPECT_EQ(listedFilePath(u"/home/a"_s, u"b.xls"_s), u"/home/a/b.xls"_s);
    EXPECT_EQ(collapseSeparators(u"/a///b//"_s), u"/a//b/"_s);
}

TEST(FolderFileListTest, MouseActionsMirrorTopRowAndSelection)
{
    ListColumnView names{3, {false, true, true, true}};
    ListColumnView times{0, {true, false, false, false}};
    syncListSelection(0, names, times);
    EXPECT_EQ(times, names);

    // A keyboard change in the time column waits for the next mouse action there.
    times = {1, {false, false, false, true}};
    syncListSelection(2, names, times);
    EXPECT_EQ(names, (ListColumnView{3, {false, true, true, true}}));
    syncListSelection(1, names, times);
    EXPECT_EQ(names, times);

    names.topRow = 5;
    mirrorTopRow(0, names, times);
    EXPECT_EQ(times.topRow, 5);
    times.selected.removeLast(); // unequal columns do no harm
    syncListSelection(0, names, times);
}

TEST(MLstRirekiTest, CurrentTextFirstThenFiveEarlierEntries)
{
    QStringList history = {u"/e"_s, u"/d"_s, u"/c"_s, u"/b"_s, u"/a"_s};
    History::pushFront(u"/f"_s, history);
    EXPECT_EQ(history, (QStringList{u"/f"_s, u"/e"_s, u"/d"_s, u"/c"_s, u"/b"_s, u"/a"_s}));
    History::pushFront(u"/g"_s, history);
    EXPECT_EQ(history, (QStringList{u"/g"_s, u"/f"_s, u"/e"_s, u"/d"_s, u"/c"_s, u"/b"_s}));
    History::pushFront(u"/d"_s, history);
    EXPECT_EQ(history, (QStringList{u"/d"_s, u"/g"_s, u"/f"_s, u"/e"_s, u"/c"_s, u"/b"_s}));

    // A longer loaded history is trimmed; only the first equal entry goes.
    history = {u"/x"_s, u"/1"_s, u"/x"_s, u"/2"_s, u"/3"_s, u"/4"_s, u"/5"_s};
    History::pushFront(u"/x"_s, history);
    EXPECT_EQ(history, (QStringList{u"/x"_s, u"/1"_s, u"/x"_s, u"/2"_s, u"/3"_s, u"/4"_s}));
}

TEST(MLstRirekiTest, LetterCaseMakesADifferentEntry)
{
    QStringList history = {u"/Data"_s};
    History::pushFront(u"/data"_s, history);
    EXPECT_EQ(history, (QStringList{u"/data"_s, u"/Data"_s}));
}

} // namespace
} // namespace brelix::files
