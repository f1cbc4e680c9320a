#include "core/compare/ErrorReport.h"

#include "GTestPrinters.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::compare {
namespace {

ErrorReportState sampleState()
{
    ErrorReportState state;
    state.stage = 3;
    state.errorNumber = 1004;
    state.errorDescription = u"シート 'Sheet1' は保護されています"_s;
    state.workDone = 1234567890123;
    state.lastSheet = 5;
    state.maxRows = 120;
    state.maxColumns = 30;
    state.currentSheet = 2;
    state.currentRow = 17;
    state.currentColumn = 4;
    state.firstName = u"売上2003.xls"_s;
    state.secondName = u"売上2004.xls"_s;
    state.outputName = u"変更履歴.xls"_s;
    state.firstPath = u"/home/u/売上2003.xls"_s;
    state.secondPath = u"/home/u/売上2004.xls"_s;
    state.outputPath = u"/home/u/変更履歴.xls"_s;
    return state;
}

// The report's lines, without the CR LF each one ends with.
QStringList reportLines(const ErrorReportState& state)
{
    QString text = errorReportText(state);
    EXPECT_TRUE(text.endsWith(u"\r\n"_s));
    text.chop(2);
    return text.split(u"\r\n"_s);
}

TEST(ErrorReport, HasThirtySixCrLfLines)
{
    const QString text = errorReportText(sampleState());
    EXPECT_EQ(text.count(u"\r\n"_s), 36);
    // No bare line feed or carriage return hides inside a line.
    EXPECT_EQ(text.count(u'\n'), 36);
    EXPECT_EQ(text.count(u'\r'), 36);
    EXPECT_EQ(reportLines(sampleState()).size(), 36);
}

TEST(ErrorReport, AddressesTheHelpDocumentNotAMailbox)
{
    const QStringList lines = reportLines(sampleState());
    EXPECT_EQ(lines[0], u"予期せぬエラーが発生してしまいました"_s);
    EXPECT_EQ(lines[3], u"メールの件名： Brelix エラー報告"_s);
    EXPECT_EQ(lines[4], u"メールの宛先： Brelix.html（プログラムと同じフォルダのヘルプ）"_s);
    EXPECT_FALSE(errorReportText(sampleState()).contains(u'@'));
    EXPECT_EQ(lines[5], QString());
    EXPECT_EQ(lines[9], u"　　セルの式、値、書式など。"_s);
    EXPECT_EQ(lines[12], QString());
    EXPECT_EQ(lines[13], u"＜＜エラー詳細内容＞＞"_s);
}

TEST(ErrorReport, ReportsTheRunsState)
{
    const QStringList lines = reportLines(sampleState());
    EXPECT_EQ(lines[14], u"<1:バージョン>"_s);
    EXPECT_EQ(lines[15], u"Brelix-Ver.4.06"_s);
    EXPECT_EQ(lines[17], u"3"_s);
    EXPECT_EQ(lines[19], u"1004"_s);
    EXPECT_EQ(lines[21], u"シート 'Sheet1' は保護されています"_s);
    EXPECT_EQ(lines[23], u"1234567890123回"_s);
    EXPECT_EQ(lines[24], u"<6:ファイルのMAX情報>"_s);
    EXPECT_EQ(lines[25], u"シートNo= 5 , 120行 , 30列"_s);
    EXPECT_EQ(lines[27], u"シートNo= 2 , 17行 , 4列"_s);
    EXPECT_EQ(lines[28], u"<8:ファイル名>"_s);
    EXPECT_EQ(lines[29], u"Name1= 売上2003.xls"_s);
    EXPECT_EQ(lines[31], u"Name3= 変更履歴.xls"_s);
    EXPECT_EQ(lines[32], u"<9:フルパス>"_s);
    EXPECT_EQ(lines[34], u"File2= /home/u/売上2004.xls"_s);
    EXPECT_EQ(lines[35], u"File3= /home/u/変更履歴.xls"_s);
}

TEST(ErrorReport, WritesTheMinorVersionWithTwoDigits)
{
    ErrorReportState state;
    state.majorVersion = 4;
    state.minorVersion = 10;
    EXPECT_EQ(reportLines(state)[15], u"Brelix-Ver.4.10"_s);
    state.majorVersion = 12;
    state.minorVersion = 0;
    EXPECT_EQ(reportLines(state)[15], u"Brelix-Ver.12.00"_s);
}

TEST(ErrorReport, KeepsItsShapeForAnEmptyStateAndOddDescriptions)
{
    ErrorReportState state;
    const QStringList empty = reportLines(state);
    ASSERT_EQ(empty.size(), 36);
    EXPECT_EQ(empty[21], QString());
    EXPECT_EQ(empty[23], u"0回"_s);
    EXPECT_EQ(empty[35], u"File3= "_s);

    // Placeholders in the description are text, not arguments.
    state.errorDescription = u"%1 と %2"_s;
    EXPECT_EQ(reportLines(state)[21], u"%1 と %2"_s);
}

} // namespace
} // namespace brelix::compare
