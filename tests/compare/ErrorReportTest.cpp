#include "core/compare/ErrorReport.h"

#include "Golden.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::compare {
namespace {

TEST(ErrorReportTest, TellsTheRunsStateInItsThirtySixCrLfLines)
{
    ErrorReportState state;
    state.majorVersion = 4;
    state.minorVersion = 6; // written with two digits
    state.stage = 3;
    state.errorNumber = 1004;
    state.errorDescription = u"シート '%1' は保護されています"_s; // "%1" is text here
    state.workDone = 1234567890123;
    state.largest = {5, 120, 30};
    state.current = {2, 17, 4};
    state.names[0] = u"売上2003.xls"_s;
    state.names[1] = u"売上2004.xls"_s;
    state.names[2] = u"変更履歴.xls"_s;
    state.paths[0] = u"/home/u/売上2003.xls"_s;
    state.paths[1] = u"/home/u/売上2004.xls"_s;
    state.paths[2] = u"/home/u/変更履歴.xls"_s;
    QString text = errorReportText(state);

    EXPECT_EQ(text.count(u"\r\n"_s), 36);
    EXPECT_EQ(text.count(u'\n'), 36);
    EXPECT_EQ(text.count(u'\r'), 36);
    EXPECT_TRUE(text.endsWith(u"\r\n"_s));
    expectGolden(u"error-report.txt"_s, text.replace(u"\r\n"_s, u"\n"_s));
}

} // namespace
} // namespace brelix::compare
