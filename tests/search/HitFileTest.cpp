#include "core/search/HitFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::search {
namespace {

TEST(HitFileTest, PlainRecordsAreCommaJoinedLinesWithCrLf)
{
    QTemporaryDir dir;
    HitFile file(dir.filePath(u"Brelix.grp"_s));
    ASSERT_TRUE(file.create());
    file.append({3, u"sales.xls"_s, u"Summary"_s, 2, u"AB12"_s, u"ABC TOTAL"_s});
    file.append({4, u"売上.xls"_s, u"集計"_s, 1, u"A1"_s, QString()});
    file.close();

    QFile written(file.path());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()),
              u"3,sales.xls,Summary,2,AB12,ABC TOTAL\r\n4,売上.xls,集計,1,A1,\r\n"_s);
}

TEST(HitFileTest, FieldsWithCommasQuotesAndLineBreaksComeBackWhole)
{
    const QStringList tricky{
        u"7"_s, u"a,b \"c\".xls"_s, u"Q1, Q2"_s, u"3"_s, u"C4"_s, u"line 1\r\nline 2, \"end\"\n"_s};
    const QString line = HitFile::line(tricky);
    EXPECT_EQ(line,
              u"7,\"a,b \"\"c\"\".xls\",\"Q1, Q2\",3,C4,\"line 1\r\nline 2, \"\"end\"\"\n\""_s);

    QTemporaryDir dir;
    HitFile file(dir.filePath(u"Brelix.grp"_s));
    ASSERT_TRUE(file.create());
    file.append({7, tricky[1], tricky[2], 3, u"C4"_s, tricky[5]});
    file.append({8, u"x.xls"_s, u"S"_s, 1, u"A1"_s, u"\"quoted\""_s});
    file.close();
    const QList<QStringList> records = HitFile::read(file.path());
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0], tricky);
    EXPECT_EQ(records[1][5], u"\"quoted\""_s);
}

TEST(HitFileTest, ReadingGivesSixFieldsWhateverTheLineHolds)
{
    const QList<QStringList> records =
        HitFile::parse(u"1,a.xls\r\n2,b.xls,S,1,A1,text,extra\r\n\r\n3,c.xls,S,1,B2,x"_s);
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records[0], QStringList({u"1"_s, u"a.xls"_s, {}, {}, {}, {}}));
    EXPECT_EQ(records[1], QStringList({u"2"_s, u"b.xls"_s, u"S"_s, u"1"_s, u"A1"_s, u"text"_s}));
    EXPECT_EQ(records[2], QStringList(6));
    EXPECT_EQ(records[3][4], u"B2"_s);
    EXPECT_TRUE(HitFile::read(u"/nonexistent/Brelix.grp"_s).isEmpty());
}

TEST(HitFileTest, AFileThatCannotBeWrittenSaysSo)
{
    HitFile file(u"/nonexistent-folder/Brelix.grp"_s);
    EXPECT_FALSE(file.create());
    file.append({1, u"a"_s, u"b"_s, 1, u"A1"_s, u"c"_s}); // ignored, no crash
}

} // namespace
} // namespace brelix::search
