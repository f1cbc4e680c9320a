#include "HostContractTest.h"
#include "core/host/CellText.h"

#include <QDate>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellTextKind;
using brelix::support::SheetContent;
using brelix::support::WorkbookContent;
using Style = brelix::host::CellContent::NumberStyle;

namespace brelix::contract {
namespace {

CellContent formula(const QString& text, CellContent result)
{
    result.formula = text;
    return result;
}

// Each case is one row: column 1 holds the cell, the test reads its value and formula texts.
struct TextCase {
    CellContent cell;
    QString value;
    QString formula;
};

class HostCellTextTest : public HostFormatTest {
protected:
    void expectTexts(const QList<TextCase>& cases, const QDate& nullDate = host::defaultNullDate())
    {
        WorkbookContent content = WorkbookContent::withSheets({u"Texts"_s, u"Other"_s});
        content.nullDate = nullDate;
        content.sheets[1].setCell(1, 1, CellContent::ofNumber(5));
        for (int i = 0; i < cases.size(); ++i)
            content.sheets[0].setCell(i + 1, 1, cases[i].cell);
        const QString book = open(fileName(u"texts"_s), content);
        host::SpreadsheetHost& host = sharedHost();

        for (int i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE("row " + std::to_string(i + 1));
            EXPECT_EQ(host.cellText(book, 1, i + 1, 1, CellTextKind::Value), cases[i].value);
            EXPECT_EQ(host.cellText(book, 1, i + 1, 1, CellTextKind::Formula), cases[i].formula);
        }
    }
};

TEST_P(HostCellTextTest, FormulasGiveTheirResultByValueAndThemselvesByFormula)
{
    expectTexts({
        {CellContent::ofNumber(1), u"1"_s, u"1"_s},
        {CellContent::ofNumber(2), u"2"_s, u"2"_s},
        {formula(u"=1+1"_s, CellContent::ofNumber(2)), u"2"_s, u"=1+1"_s},
        {formula(u"=SUM(A1:A2)"_s, CellContent::ofNumber(3)), u"3"_s, u"=SUM(A1:A2)"_s},
        {formula(u"=IF(A1>1,\"a\",\"b\")"_s, CellContent::ofText(u"b"_s)), u"b"_s,
         u"=IF(A1>1,\"a\",\"b\")"_s},
        {formula(u"=Other!A1*2"_s, CellContent::ofNumber(10)), u"10"_s, u"=Other!A1*2"_s},
    });
}

TEST_P(HostCellTextTest, AFormulaOfTruthValueReadsTrueOrFalse)
{
    // A truth-valued formula read back from an .xls file is a plain number to the office, which
    // shows it as 1 or 0 itself; boolean constants there are still read as TRUE and FALSE.
    const QString shown = GetParam() == u"xls"_s ? u"1"_s : u"TRUE"_s;
    expectTexts({
        {formula(u"=1<2"_s, CellContent::ofBoolean(true)), shown, u"=1<2"_s},
        {CellContent::ofBoolean(true), u"TRUE"_s, u"TRUE"_s},
    });
}

TEST_P(HostCellTextTest, NumbersInGeneralForm)
{
    expectTexts({
        {CellContent::ofNumber(0), u"0"_s, u"0"_s},
        {CellContent::ofNumber(-3), u"-3"_s, u"-3"_s},
        {CellContent::ofNumber(1.5), u"1.5"_s, u"1.5"_s},
        {CellContent::ofNumber(0.1 + 0.2), u"0.3"_s, u"0.3"_s},
        {CellContent::ofNumber(1e20), u"1E+20"_s, u"1E+20"_s},
        {CellContent::ofNumber(0.00001), u"1E-05"_s, u"1E-05"_s},
        {CellContent::ofNumber(123456789012345678.0), u"1.23456789012346E+17"_s,
         u"1.23456789012346E+17"_s},
        {CellContent::ofNumber(1234567.891), u"1234567.891"_s, u"1234567.891"_s},
    });
}

TEST_P(HostCellTextTest, TextsStayAsTheyAre)
{
    QStringList texts = {
        u"1"_s,
        u"0001"_s,
        u"=1+1"_s,
        u"TRUE"_s,
        u"日本語のテキスト"_s,
        u"a,b;c"_s,
        u"say \"hi\""_s,
        u"'quoted'"_s,
        u"line 1\nline 2"_s,
        u"  padded  "_s,
        u"\\back\\slash"_s,
    };
    // The office's own .ods reader turns a tab inside a cell into nothing.
    if (GetParam() != u"ods"_s)
        texts.append(u"tab\there"_s);
    QList<TextCase> cases;
    for (const QString& text : texts)
        cases.append({CellContent::ofText(text), text, text});
    expectTexts(cases);
}

TEST_P(HostCellTextTest, EmptyCellsAndEmptyTextsReadEmptyButZeroDoesNot)
{
    WorkbookContent content = WorkbookContent::withSheets({u"Texts"_s});
    content.sheets[0].setCell(1, 2, CellContent::ofText(QString()));
    content.sheets[0].setCell(1, 3, CellContent::ofNumber(0));
    content.sheets[0].setCell(1, 4, formula(u"=\"\""_s, CellContent::ofText(QString())));
    content.sheets[0].setCell(2, 5, CellContent::ofText(u"end"_s));
    const QString book = open(fileName(u"empty"_s), content);

    EXPECT_EQ(sharedHost().rangeTexts(book, 1, {{1, 1}, {1, 4}}, CellTextKind::Value),
              QList<QStringList>({{QString(), QString(), u"0"_s, QString()}}));
    EXPECT_EQ(sharedHost().rangeTexts(book, 1, {{1, 1}, {1, 4}}, CellTextKind::Formula),
              QList<QStringList>({{QString(), QString(), u"0"_s, u"=\"\""_s}}));
}

TEST_P(HostCellTextTest, DatesAndTimesByTheirStyle)
{
    expectTexts({
        {CellContent::ofNumber(45000, Style::Date), u"2023/03/15"_s, u"2023/03/15"_s},
        {CellContent::ofNumber(0.5, Style::Time), u"12:00:00"_s, u"12:00:00"_s},
        {CellContent::ofNumber(45000.75, Style::DateTime), u"2023/03/15 18:00:00"_s,
         u"2023/03/15 18:00:00"_s},
        {CellContent::ofNumber(45000, Style::General), u"45000"_s, u"45000"_s},
        {formula(u"=DATE(2024,2,29)"_s, CellContent::ofNumber(45351, Style::Date)), u"2024/02/29"_s,
         u"=DATE(2024,2,29)"_s},
    });
}

TEST_P(HostCellTextTest, DatesOfThe1904DateSystem)
{
    expectTexts(
        {
            {CellContent::ofNumber(0, Style::Date), u"1904/01/01"_s, u"1904/01/01"_s},
            {CellContent::ofNumber(366, Style::Date), u"1905/01/01"_s, u"1905/01/01"_s},
        },
        QDate(1904, 1, 1));
}

TEST_P(HostCellTextTest, BooleansAndErrorValues)
{
    expectTexts({
        {CellContent::ofBoolean(true), u"TRUE"_s, u"TRUE"_s},
        {CellContent::ofBoolean(false), u"FALSE"_s, u"FALSE"_s},
        {formula(u"=1/0"_s, CellContent::ofError(u"#DIV/0!"_s)), u"#DIV/0!"_s, u"=1/0"_s},
        {formula(u"=NA()"_s, CellContent::ofError(u"#N/A"_s)), u"#N/A"_s, u"=NA()"_s},
    });
}

TEST_P(HostCellTextTest, RangeTextsEqualTheCellTextsOfTheSameRectangle)
{
    WorkbookContent content = WorkbookContent::withSheets({u"Grid"_s});
    SheetContent& sheet = content.sheets[0];
    sheet.setCell(2, 2, CellContent::ofNumber(1.25));
    sheet.setCell(2, 4, CellContent::ofText(u"a\nb"_s));
    sheet.setCell(3, 3, formula(u"=B2*2"_s, CellContent::ofNumber(2.5)));
    sheet.setCell(4, 2, CellContent::ofNumber(44000, Style::Date));
    sheet.setCell(4, 4, CellContent::ofBoolean(false));
    const QString book = open(fileName(u"grid"_s), content);
    host::SpreadsheetHost& host = sharedHost();

    const host::CellRange range{{1, 1}, {6, 6}}; // beyond the used area on every side
    for (CellTextKind kind : {CellTextKind::Value, CellTextKind::Formula}) {
        const QList<QStringList> rows = host.rangeTexts(book, 1, range, kind);
        ASSERT_EQ(rows.size(), 6);
        for (int r = 0; r < 6; ++r) {
            ASSERT_EQ(rows[r].size(), 6);
            for (int c = 0; c < 6; ++c)
                EXPECT_EQ(rows[r][c], host.cellText(book, 1, r + 1, c + 1, kind))
                    << "row " << r + 1 << " column " << c + 1;
        }
    }
    EXPECT_EQ(host.rangeTexts(book, 1, {{3, 3}, {3, 3}}, CellTextKind::Formula),
              QList<QStringList>({{u"=B2*2"_s}}));
    EXPECT_EQ(host.rangeTexts(book, 1, {{2, 2}, {2, 2}}, CellTextKind::Value),
              QList<QStringList>({{u"1.25"_s}}));
}

INSTANTIATE_TEST_SUITE_P(Formats, HostCellTextTest, ::testing::ValuesIn(workbookFormats()),
                         formatName);

} // namespace
} // namespace brelix::contract
