#include "core/host/CellText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace brelix::host {
namespace {

using Style = CellContent::NumberStyle;

// Compares QStrings through std::string so failures print readable text.
std::string s(const QString& text)
{
    return text.toStdString();
}

TEST(GeneralNumberText, KeepsFifteenSignificantDigits)
{
    EXPECT_EQ(s(generalNumberText(0.1 + 0.2)), "0.3");
    EXPECT_EQ(s(generalNumberText(1.0 / 3.0)), "0.333333333333333");
    EXPECT_EQ(s(generalNumberText(2.0 / 3.0)), "0.666666666666667");
    EXPECT_EQ(s(generalNumberText(123.456)), "123.456");
    EXPECT_EQ(s(generalNumberText(12345678901234.5)), "12345678901234.5");
    EXPECT_EQ(s(generalNumberText(3.14159265358979)), "3.14159265358979");
}

TEST(GeneralNumberText, WritesIntegersWithoutPointUpToFifteenDigits)
{
    EXPECT_EQ(s(generalNumberText(0)), "0");
    EXPECT_EQ(s(generalNumberText(-0.0)), "0");
    EXPECT_EQ(s(generalNumberText(42)), "42");
    EXPECT_EQ(s(generalNumberText(100)), "100");
    EXPECT_EQ(s(generalNumberText(123456789012345.0)), "123456789012345");
    EXPECT_EQ(s(generalNumberText(1234567890123456.0)), "1.23456789012346E+15");
    EXPECT_EQ(s(generalNumberText(1e15)), "1E+15");
}

TEST(GeneralNumberText, UsesExponentFormOutsideThePlainRange)
{
    EXPECT_EQ(s(generalNumberText(1e20)), "1E+20");
    EXPECT_EQ(s(generalNumberText(1.5e20)), "1.5E+20");
    EXPECT_EQ(s(generalNumberText(1e100)), "1E+100");
    EXPECT_EQ(s(generalNumberText(0.0001)), "0.0001");
    EXPECT_EQ(s(generalNumberText(0.00001)), "1E-05");
    EXPECT_EQ(s(generalNumberText(1.25e-7)), "1.25E-07");
}

TEST(GeneralNumberText, KeepsTheSignOfNegativeNumbers)
{
    EXPECT_EQ(s(generalNumberText(-1)), "-1");
    EXPECT_EQ(s(generalNumberText(-98.5)), "-98.5");
    EXPECT_EQ(s(generalNumberText(-0.1 - 0.2)), "-0.3");
    EXPECT_EQ(s(generalNumberText(-1e20)), "-1E+20");
    EXPECT_EQ(s(generalNumberText(-0.00001)), "-1E-05");
}

TEST(GeneralNumberText, ShowsNonFiniteValuesAsAnError)
{
    EXPECT_EQ(s(generalNumberText(std::numeric_limits<double>::quiet_NaN())), "#NUM!");
    EXPECT_EQ(s(generalNumberText(std::numeric_limits<double>::infinity())), "#NUM!");
    EXPECT_EQ(s(generalNumberText(-std::numeric_limits<double>::infinity())), "#NUM!");
}

TEST(DateTimeText, ChoosesDateTimeOrBothByWhatTheValueHolds)
{
    const QDate null = defaultNullDate();
    EXPECT_EQ(s(dateTimeText(45383, Style::Date, null)), "2024/04/01");
    EXPECT_EQ(s(dateTimeText(45383, Style::DateTime, null)), "2024/04/01");
    EXPECT_EQ(s(dateTimeText(45383.75, Style::Date, null)), "2024/04/01 18:00:00");
    EXPECT_EQ(s(dateTimeText(45383.75, Style::DateTime, null)), "2024/04/01 18:00:00");
    EXPECT_EQ(s(dateTimeText(0.3958333333333333, Style::Time, null)), "09:30:00");
    EXPECT_EQ(s(dateTimeText(0.5, Style::DateTime, null)), "12:00:00");
    EXPECT_EQ(s(dateTimeText(1, Style::Date, null)), "1899/12/31");
    EXPECT_EQ(s(dateTimeText(60, Style::Date, null)), "1900/02/28");
    EXPECT_EQ(s(dateTimeText(2958465, Style::Date, null)), "9999/12/31");
}

TEST(DateTimeText, ShowsMidnightOfAPureTimeAsATime)
{
    const QDate null = defaultNullDate();
    EXPECT_EQ(s(dateTimeText(0, Style::Time, null)), "00:00:00");
    EXPECT_EQ(s(dateTimeText(0, Style::Date, null)), "1899/12/30");
    // A time value of a day and more still names its day.
    EXPECT_EQ(s(dateTimeText(1.5, Style::Time, null)), "1899/12/31 12:00:00");
}

TEST(DateTimeText, RoundsToTheNearestSecond)
{
    const QDate null = defaultNullDate();
    const double second = 1.0 / 86400;
    EXPECT_EQ(s(dateTimeText(45383 + 0.4 * second, Style::DateTime, null)), "2024/04/01");
    EXPECT_EQ(s(dateTimeText(45383 + 0.6 * second, Style::DateTime, null)), "2024/04/01 00:00:01");
    EXPECT_EQ(s(dateTimeText(45383.5 - 0.3 * second, Style::DateTime, null)),
              "2024/04/01 12:00:00");
    EXPECT_EQ(s(dateTimeText(45383 + 59.6 * second, Style::Time, null)), "2024/04/01 00:01:00");
    // Just before midnight rounds into the next day, never to a "24:00:00".
    EXPECT_EQ(s(dateTimeText(45383.99999999, Style::DateTime, null)), "2024/04/02");
    EXPECT_EQ(s(dateTimeText(45383 + 86399.4 * second, Style::DateTime, null)),
              "2024/04/01 23:59:59");
}

TEST(DateTimeText, CountsBeforeTheNullDate)
{
    const QDate null = defaultNullDate();
    EXPECT_EQ(s(dateTimeText(-1, Style::Date, null)), "1899/12/29");
    EXPECT_EQ(s(dateTimeText(-0.5, Style::DateTime, null)), "1899/12/29 12:00:00");
}

TEST(DateTimeText, GivesTheNumberWhereNoDateCanBeShown)
{
    const QDate null = defaultNullDate();
    EXPECT_EQ(s(dateTimeText(2958466, Style::Date, null)), "2958466"); // 10000/01/01
    EXPECT_EQ(s(dateTimeText(1e12, Style::Date, null)), "1000000000000");
    EXPECT_EQ(s(dateTimeText(1e20, Style::DateTime, null)), "1E+20");
    EXPECT_EQ(s(dateTimeText(-1e20, Style::Time, null)), "-1E+20");
    EXPECT_EQ(s(dateTimeText(-700000, Style::Date, null)), "-700000");
    EXPECT_EQ(s(dateTimeText(std::numeric_limits<double>::infinity(), Style::Date, null)), "#NUM!");
}

TEST(DateTimeText, CountsFromTheWorkbooksNullDate)
{
    const QDate null1904(1904, 1, 1);
    EXPECT_EQ(s(dateTimeText(0, Style::Date, null1904)), "1904/01/01");
    EXPECT_EQ(s(dateTimeText(43921, Style::Date, null1904)), "2024/04/01");
    EXPECT_EQ(s(dateTimeText(43921.25, Style::DateTime, null1904)), "2024/04/01 06:00:00");
    EXPECT_EQ(s(dateTimeText(0.25, Style::Time, null1904)), "06:00:00");
}

TEST(ValueText, GivesEachCellTypeItsText)
{
    EXPECT_EQ(s(valueText(CellContent::empty())), "");
    EXPECT_EQ(s(valueText(CellContent::ofText(QStringLiteral("りんご")))), "りんご");
    // Text that looks like a number stays as it is.
    EXPECT_EQ(s(valueText(CellContent::ofText(QStringLiteral("007")))), "007");
    EXPECT_EQ(s(valueText(CellContent::ofText(QStringLiteral(" a ")))), " a ");
    EXPECT_EQ(s(valueText(CellContent::ofNumber(98.5))), "98.5");
    EXPECT_EQ(s(valueText(CellContent::ofBoolean(true))), "TRUE");
    EXPECT_EQ(s(valueText(CellContent::ofBoolean(false))), "FALSE");
    EXPECT_EQ(s(valueText(CellContent::ofError(QStringLiteral("#DIV/0!")))), "#DIV/0!");
}

TEST(ValueText, FormatsNumbersByTheirStyle)
{
    EXPECT_EQ(s(valueText(CellContent::ofNumber(45383, Style::General))), "45383");
    EXPECT_EQ(s(valueText(CellContent::ofNumber(45383, Style::Date))), "2024/04/01");
    EXPECT_EQ(s(valueText(CellContent::ofNumber(0.75, Style::Time))), "18:00:00");
    EXPECT_EQ(s(valueText(CellContent::ofNumber(43921, Style::Date), QDate(1904, 1, 1))),
              "2024/04/01");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(s(valueText(CellContent::ofNumber(nan, Style::Date))), "#NUM!");
}

TEST(FormulaText, GivesTheFormulaOrElseTheValue)
{
    CellContent sum = CellContent::ofNumber(8882);
    sum.formula = QStringLiteral("=SUM(E2:E5)");
    EXPECT_EQ(s(formulaText(sum)), "=SUM(E2:E5)");
    EXPECT_EQ(s(valueText(sum)), "8882");

    CellContent error = CellContent::ofError(QStringLiteral("#DIV/0!"));
    error.formula = QStringLiteral("=1/0");
    EXPECT_EQ(s(formulaText(error)), "=1/0");

    EXPECT_EQ(s(formulaText(CellContent::empty())), "");
    EXPECT_EQ(s(formulaText(CellContent::ofText(QStringLiteral("メモ")))), "メモ");
    EXPECT_EQ(s(formulaText(CellContent::ofBoolean(true))), "TRUE");
    EXPECT_EQ(s(formulaText(CellContent::ofNumber(43921, Style::Date), QDate(1904, 1, 1))),
              "2024/04/01");
}

} // namespace
} // namespace brelix::host
