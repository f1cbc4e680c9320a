#include "core/search/HitFile.h"

#include "GTestPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::search {
namespace {

TEST(HitFileTest, FieldsWithCommasQuotesAndLineBreaksComeBackWhole)
{
    const QStringList plain{u"3"_s, u"売上.xls"_s, u"集計"_s, u"2"_s, u"AB12"_s, QString()};
    const QStringList tricky{
        u"7"_s, u"a,b \"c\".xls"_s, u"Q1, Q2"_s, u"3"_s, u"C4"_s, u"line 1\r\nline 2, \"end\"\n"_s};
    QTemporaryDir dir;
    HitFile file(dir.filePath(u"Brelix.grp"_s));
    ASSERT_TRUE(file.create());
    file.append({3, plain[1], plain[2], 2, plain[4], plain[5]});
    file.append({7, tricky[1], tricky[2], 3, tricky[4], tricky[5]});
    file.close();
    QFile written(file.path());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()),
              u"3,売上.xls,集計,2,AB12,\r\n"
              u"7,\"a,b \"\"c\"\".xls\",\"Q1, Q2\",3,C4,\"line 1\r\nline 2, \"\"end\"\"\n\"\r\n"_s);
    EXPECT_EQ(HitFile::read(file.path()), QList<QStringList>({plain, tricky}));

    // Short lines are padded to six fields, long ones cut; a lone CR or LF ends a line too.
    EXPECT_EQ(HitFile::parse(u"1,a\r2,b,S,1,A1,t,extra\n\r\n3,\"q\"x"_s),
              QList<QStringList>({{u"1"_s, u"a"_s, {}, {}, {}, {}},
                                  {u"2"_s, u"b"_s, u"S"_s, u"1"_s, u"A1"_s, u"t"_s},
                                  QStringList(6),
                                  {u"3"_s, u"qx"_s, {}, {}, {}, {}}}));
    EXPECT_TRUE(HitFile::read(u"/nonexistent/Brelix.grp"_s).isEmpty());
    EXPECT_FALSE(HitFile(u"/nonexistent-folder/Brelix.grp"_s).create());
}

} // namespace
} // namespace brelix::search
