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

// Files 0-11; 2, 9 and 10 share a minute, the others lie before or after it.
QList<FolderEntry> twelveFiles()
{
    QList<FolderEntry> files;
    for (int i = 0; i < 12; ++i) {
        const bool tied = i == 2 || i == 9 || i == 10;
        files.append({u"f%1"_s.arg(i), tied    ? u"2000/09/01 12:00"_s
                                       : i < 6 ? u"1999/01/%1 08:30"_s.arg(20 - i)
                                               : u"2001/03/%1 17:45"_s.arg(i + 10)});
    }
    return files;
}

TEST(FolderFileListTest, EachOrderListsTheNamesAndTimesSo)
{
    const QList<FolderEntry> files = twelveFiles();
    const QString tied = u"2000/09/01 12:00    "_s;
    const struct {
        qint16 order;
        QString names;
        QStringList someTimes; // the first three
    } orders[] = {
        {SortByName,
         u"f0 f1 f2 f3 f4 f5 f6 f7 f8 f9 f10 f11"_s,
         {u"1999/01/20 08:30"_s, u"1999/01/19 08:30"_s, tied.trimmed()}},
        {SortByNameReverse,
         u"f11 f10 f9 f8 f7 f6 f5 f4 f3 f2 f1 f0"_s,
         {u"2001/03/21 17:45"_s, tied.trimmed(), tied.trimmed()}},
        // Keys compare as text, so within one minute index 10 comes before index 9.
        {SortByTime,
         u"f5 f4 f3 f1 f0 f10 f2 f9 f6 f7 f8 f11"_s,
         {u"1999/01/15 08:30    5"_s, u"1999/01/16 08:30    4"_s, u"1999/01/17 08:30    3"_s}},
        {SortByTimeReverse,
         u"f11 f8 f7 f6 f9 f2 f10 f0 f1 f3 f4 f5"_s,
         {u"2001/03/21 17:45    11"_s, u"2001/03/18 17:45    8"_s, u"2001/03/17 17:45    7"_s}},
        {0, QString(), {}},
        {5, QString(), {}},
    };
    for (const auto& [order, names, someTimes] : orders) {
        const FileListColumns columns = buildFileList(files, order);
        EXPECT_EQ(columns.names.join(u' '), names) << order;
        EXPECT_EQ(columns.times.first(std::min<qsizetype>(3, columns.times.size())), someTimes)
            << order;
        EXPECT_EQ(columns.times.size(), columns.names.size());
    }
    EXPECT_EQ(buildFileList(files, SortByTime).times.mid(5, 2),
              (QStringList{tied + u"10"_s, tied + u"2"_s}));
}

TEST(FolderFileListTest, TitlePressesReverseTheSameOrderAndStartTheOtherAscending)
{
    const std::pair<int, qint16> presses[] = {
        {NameTitle, SortByNameReverse},
        {NameTitle, SortByName},
        {TimeTitle, SortByTime},
        {TimeTitle, SortByTimeReverse},
        {NameTitle, SortByName},
        {TimeTitle, SortByTime},
        {2, SortByTime},
        {NameTitle, SortByName},
        {2, SortByName},
    };
    qint16 order = SortByName;
    for (const auto& [title, expected] : presses) {
        order = sortAfterTitlePress(order, title);
        EXPECT_EQ(order, expected) << title;
    }
    EXPECT_EQ(sortAfterTitlePress(0, TimeTitle), SortByTime);
}

TEST(FolderFileListTest, MouseActionsInOneColumnMoveTheOther)
{
    const ListColumnView top3{3, {false, true, true, true}};
    const ListColumnView top1{1, {true, false, false, false}};
    const struct {
        void (*action)(int, ListColumnView&, ListColumnView&);
        int column;
        ListColumnView names, times; // after the action, from top3 and top1
    } actions[] = {
        {syncListSelection, 0, top3, top3},
        {syncListSelection, 1, top1, top1},
        {syncListSelection, 2, top3, top1}, // no column: nothing moves
        {mirrorTopRow, 0, top3, {3, top1.selected}},
        {mirrorTopRow, 1, {1, top3.selected}, top1},
        {mirrorTopRow, 2, top3, top1},
    };
    for (const auto& [action, column, names, times] : actions) {
        ListColumnView n = top3;
        ListColumnView t = top1;
        action(column, n, t);
        EXPECT_EQ(n, names) << column;
        EXPECT_EQ(t, times) << column;
    }
    // Columns of unequal length take what they can.
    ListColumnView shorter{0, {true}};
    ListColumnView n = top3;
    syncListSelection(0, n, shorter);
    EXPECT_EQ(shorter, (ListColumnView{3, {false}}));
}

// Real files, since the listing and the times come from the disk.
TEST(FolderFileListTest, AListingTakesTheVisibleMatchingFilesInNameOrder)
{
    QTemporaryDir dir;
    const QDateTime minute(QDate(2000, 9, 1), QTime(12, 0));
    const auto touch = [&](const QString& name, const QDateTime& time) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).path());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    };
    touch(u"B.XLS"_s, minute.addSecs(59));
    touch(u"a.xls"_s, minute.addYears(-1));
    touch(u"b.xls"_s, minute);
    for (const QString& skipped : {u".hidden.xls"_s, u"c.xlsx"_s, u"d.csv"_s, u"sub.xls/e.xls"_s})
        touch(skipped, minute);

    const std::optional<FolderListing> listing = FolderListing::read(dir.path() + u'/', u"*.xls"_s);
    ASSERT_TRUE(listing);
    EXPECT_EQ(*listing, (FolderListing{dir.path(), {u"a.xls"_s, u"B.XLS"_s, u"b.xls"_s}}));
    EXPECT_EQ((FolderListing{listing->folder, {u"a.xls"_s, u"B.XLS"_s, u"gone.xls"_s}}.entries()),
              (QList<FolderEntry>{{u"a.xls"_s, u"1999/09/01 12:00"_s},
                                  {u"B.XLS"_s, u"2000/09/01 12:00"_s},
                                  {u"gone.xls"_s, QString()}}));
    EXPECT_EQ(FolderListing::read(dir.path(), fileTypePatterns().join(u';'))->names,
              (QStringList{u"a.xls"_s, u"B.XLS"_s, u"b.xls"_s, u"d.csv"_s}));
    EXPECT_TRUE(FolderListing::read(dir.path(), QString())->names.isEmpty());
    EXPECT_EQ(FolderListing::read(u"/"_s, u"*.xls"_s)->folder, u"/"_s);

    // Texts that name no folder leave the previous listing to the caller.
    for (const QString& text : {QString(), u"tmp"_s, dir.filePath(u"missing"_s),
                                dir.filePath(u"d.csv"_s), dir.path().chopped(1)})
        EXPECT_FALSE(FolderListing::read(text, u"*.xls"_s)) << text.toStdString();
}

TEST(FolderFileListTest, TimeTextAndThePathsTheJobsTake)
{
    EXPECT_EQ(timeText(QDateTime(QDate(2004, 1, 2), QTime(3, 4, 59))), u"2004/01/02 03:04"_s);
    EXPECT_EQ(timeText(QDateTime()), QString());
    EXPECT_EQ(listedFilePath(u"/"_s, u"売上.xls"_s), u"/売上.xls"_s);
    EXPECT_EQ(listedFilePath(u"/home/a"_s, u"b.xls"_s), u"/home/a/b.xls"_s);
    EXPECT_EQ(collapseSeparators(u"/a///b//"_s), u"/a//b/"_s);
}

TEST(HistoryTest, TheCurrentTextComesFirstThenFiveEarlierEntries)
{
    const struct {
        QString before, current, after;
    } pushes[] = {
        {u"e d c b a"_s, u"f"_s, u"f e d c b a"_s},
        {u"f e d c b a"_s, u"g"_s, u"g f e d c b"_s},
        {u"g f e d c b"_s, u"d"_s, u"d g f e c b"_s},
        {u"x 1 x 2 3 4 5"_s, u"x"_s, u"x 1 x 2 3 4"_s}, // a longer one loses only its first "x"
        {u"Data"_s, u"data"_s, u"data Data"_s},
        {QString(), u"a"_s, u"a"_s},
    };
    for (const auto& [before, current, after] : pushes) {
        QStringList history = before.split(u' ', Qt::SkipEmptyParts);
        settings::History::pushFront(current, history);
        EXPECT_EQ(history.join(u' '), after);
    }
}

} // namespace
} // namespace brelix::files
