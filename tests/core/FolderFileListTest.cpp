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

TEST(FolderFileListTest, EachOrderListsTheNamesWithTheirTimes)
{
    // f3 is the oldest, f7 the newest; the others share one minute.
    QList<FolderEntry> files;
    for (int i = 0; i <= 10; ++i)
        files.append({u"f%1"_s.arg(i), i == 3   ? u"1999/12/31 23:59"_s
                                       : i == 7 ? u"2001/01/01 00:00"_s
                                                : u"2000/09/01 12:00"_s});
    const std::pair<qint16, QString> orders[] = {
        {SortByName, u"f0 f1 f2 f3 f4 f5 f6 f7 f8 f9 f10"_s},
        {SortByNameReverse, u"f10 f9 f8 f7 f6 f5 f4 f3 f2 f1 f0"_s},
        // Keys compare as text, so within one minute index 10 comes before index 2.
        {SortByTime, u"f3 f0 f1 f10 f2 f4 f5 f6 f8 f9 f7"_s},
        {SortByTimeReverse, u"f7 f9 f8 f6 f5 f4 f2 f10 f1 f0 f3"_s},
        {0, QString()},
        {5, QString()}};
    for (const auto& [order, names] : orders) {
        const FileListColumns columns = buildFileList(files, order);
        EXPECT_EQ(columns.names.join(u' '), names) << order;
        ASSERT_EQ(columns.times.size(), columns.names.size());
        // The time column shows the whole sort key in the time orders.
        for (qsizetype i = 0; i < columns.names.size(); ++i) {
            const int index = columns.names[i].mid(1).toInt();
            const QString& time = files[index].time;
            EXPECT_EQ(columns.times[i], order >= SortByTime ? timeSortKey(time, index) : time);
        }
    }
    EXPECT_EQ(timeSortKey(u"2000/09/01 12:00"_s, 10), u"2000/09/01 12:00    10"_s);
}

TEST(FolderFileListTest, TitlePressesReverseTheSameOrderAndStartTheOtherAscending)
{
    // Presses of the name (N) and the time (T) title and of neither (-), each with the order
    // that follows.
    qint16 order = SortByName;
    for (const QString& press : u"N2 N1 T3 T4 N1 T3 -3 N1 -1"_s.split(u' ')) {
        const QChar title = press[0];
        order = sortAfterTitlePress(order, title == u'N'   ? NameTitle
                                           : title == u'T' ? TimeTitle
                                                           : 2);
        EXPECT_EQ(order, press[1].digitValue()) << press.toStdString();
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

    EXPECT_EQ(timeText(QDateTime(QDate(2004, 1, 2), QTime(3, 4, 59))), u"2004/01/02 03:04"_s);
    EXPECT_EQ(timeText(QDateTime()), QString());
    EXPECT_EQ(listedFilePath(u"/"_s, u"売上.xls"_s), u"/売上.xls"_s);
    EXPECT_EQ(collapseSeparators(u"/a///b//"_s), u"/a//b/"_s);

    // Texts that name no folder leave the previous listing to the caller.
    touch(u"tool"_s, minute);
    QFile::setPermissions(dir.filePath(u"tool"_s), QFile::ReadOwner | QFile::ExeOwner);
    for (const QString& text :
         {QString(), u"tmp"_s, dir.filePath(u"missing"_s), dir.filePath(u"d.csv"_s),
          dir.filePath(u"tool"_s), dir.path().chopped(1)})
        EXPECT_FALSE(FolderListing::read(text, u"*.xls"_s)) << text.toStdString();
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
        {QString(), u"a"_s, u"a"_s}};
    for (const auto& [before, current, after] : pushes) {
        QStringList history = before.split(u' ', Qt::SkipEmptyParts);
        settings::History::pushFront(current, history);
        EXPECT_EQ(history.join(u' '), after);
    }
}

} // namespace
} // namespace brelix::files
