#include "HostContractTest.h"
#include "core/host/CellText.h"

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellTextKind;
using brelix::support::WorkbookContent;
using Style = brelix::host::CellContent::NumberStyle;

namespace brelix::contract {
namespace {

CellContent formula(const QString& text, CellContent result)
{
    result.formula = text;
    return result;
}

CellContent number(double value, Style style = Style::General)
{
    return CellContent::ofNumber(value, style);
}

// One cell and its two texts, by value and by formula.
struct TextCase {
    CellContent cell;
    QString value;
    QString formula;
};

class HostCellTextTest : public HostFormatTest {
protected:
    // The cases go down column B from row 2; the test reads A1:C(n+2) by value and by formula,
    // so that every text must land in its own place and the cells around stay empty.
    void expectTexts(const QList<TextCase>& cases, const QDate& nullDate)
    {
        WorkbookContent content = WorkbookContent::withSheets({u"Texts"_s, u"Other"_s});
        content.nullDate = nullDate;
        content.sheets[1].setCell(1, 1, number(5));
        QList<QStringList> values = {{QString(), QString(), QString()}};
        QList<QStringList> formulas = values;
        for (int i = 0; i < cases.size(); ++i) {
            content.sheets[0].setCell(i + 2, 2, cases[i].cell);
            values.append({QString(), cases[i].value, QString()});
            formulas.append({QString(), cases[i].formula, QString()});
        }
        values.append(values.first());
        formulas.append(formulas.first());
        const QString book = open(fileName(u"texts"_s), content);
        const host::CellRange range{{1, 1}, {static_cast<int>(cases.size()) + 2, 3}};

        EXPECT_EQ(sharedHost().rangeTexts(book, 1, range, CellTextKind::Value), values);
        EXPECT_EQ(sharedHost().rangeTexts(book, 1, range, CellTextKind::Formula), formulas);
    }
};

TEST_P(HostCellTextTest, EachKindOfCellReadsAsItsTexts)
{
    // A truth-valued formula read back from an .xls file is a plain number to the office, which
    // shows it as 1 or 0 itself; boolean constants there are still read as TRUE and FALSE.
    const QString truth = GetParam() == u"xls"_s ? u"1"_s : u"TRUE"_s;
    QList<TextCase> cases = {
        {number(1), u"1"_s, u"1"_s},
        {number(2), u"2"_s, u"2"_s},
        {formula(u"=1+1"_s, number(2)), u"2"_s, u"=1+1"_s},
        {formula(u"=SUM(B2:B3)"_s, number(3)), u"3"_s, u"=SUM(B2:B3)"_s},
        {formula(u"=IF(B2>1,\"a\",\"b\")"_s, CellContent::ofText(u"b"_s)), u"b"_s,
         u"=IF(B2>1,\"a\",\"b\")"_s},
        {formula(u"=Other!A1*2"_s, number(10)), u"10"_s, u"=Other!A1*2"_s},
        {formula(u"=1<2"_s, CellContent::ofBoolean(true)), truth, u"=1<2"_s},
        {CellContent::ofBoolean(true), u"TRUE"_s, u"TRUE"_s},
        {CellContent::ofBoolean(false), u"FALSE"_s, u"FALSE"_s},
        {formula(u"=1/0"_s, CellContent::ofError(u"#DIV/0!"_s)), u"#DIV/0!"_s, u"=1/0"_s},
        {formula(u"=NA()"_s, CellContent::ofError(u"#N/A"_s)), u"#N/A"_s, u"=NA()"_s},
        {number(0), u"0"_s, u"0"_s},
        {number(-3), u"-3"_s, u"-3"_s},
        {number(0.1 + 0.2), u"0.3"_s, u"0.3"_s},
        {number(1e20), u"1E+20"_s, u"1E+20"_s},
        {number(0.00001), u"1E-05"_s, u"1E-05"_s},
        {number(123456789012345678.0), u"1.23456789012346E+17"_s, u"1.23456789012346E+17"_s},
        {number(1234567.891), u"1234567.891"_s, u"1234567.891"_s},
        {number(45000, Style::Date), u"2023/03/15"_s, u"2023/03/15"_s},
        {number(0.5, Style::Time), u"12:00:00"_s, u"12:00:00"_s},
        {number(45000.75, Style::DateTime), u"2023/03/15 18:00:00"_s, u"2023/03/15 18:00:00"_s},
        {number(45000), u"45000"_s, u"45000"_s},
        {formula(u"=DATE(2024,2,29)"_s, number(45351, Style::Date)), u"2024/02/29"_s,
         u"=DATE(2024,2,29)"_s},
        {CellContent::ofText(QString()), QString(), QString()},
        {formula(u"=\"\""_s, CellContent::ofText(QString())), QString(), u"=\"\""_s},
    };
    QStringList texts = {u"0001"_s,       u"=1+1"_s,         u"TRUE"_s,     u"日本語のテキスト"_s,
                         u"a,b;c"_s,      u"say \"hi\""_s,   u"'quoted'"_s, u"line 1\nline 2"_s,
                         u"  padded  "_s, u"\\back\\slash"_s};
    // The office's own .ods reader turns a tab inside a cell into nothing.
    if (GetParam() != u"ods"_s)
        texts.append(u"tab\there"_s);
    for (const QString& text : texts)
        cases.append({CellContent::ofText(text), text, text});
    expectTexts(cases, host::defaultNullDate());
}

TEST_P(HostCellTextTest, DatesCountFromTheWorkbooksOwnNullDate)
{
    expectTexts({{number(0, Style::Date), u"1904/01/01"_s, u"1904/01/01"_s},
                 {number(366, Style::Date), u"1905/01/01"_s, u"1905/01/01"_s}},
                QDate(1904, 1, 1));
}

class HostCsvTest : public HostContractTest {};

TEST_F(HostCsvTest, ACsvFileOpensAsOneSheetNamedAfterTheFile)
{
    WorkbookContent content = WorkbookContent::withSheets({u"ignored"_s});
    content.sheets[0].setCell(1, 1, CellContent::ofText(u"name"_s));
    content.sheets[0].setCell(1, 2, CellContent::ofText(u"a,b \"q\""_s));
    content.sheets[0].setCell(2, 1, number(1.5));
    content.sheets[0].setCell(3, 2, CellContent::ofText(u"日本語"_s));
    const QString book = open(u"data.csv"_s, content);

    EXPECT_EQ(book, u"data.csv"_s);
    ASSERT_EQ(sharedHost().sheetCount(book), 1);
    EXPECT_EQ(sharedHost().sheetName(book, 1), u"data"_s);
    EXPECT_EQ(sharedHost().lastUsedCell(book, 1), (host::CellPosition{3, 2}));
    EXPECT_EQ(sharedHost().rangeTexts(book, 1, {{1, 1}, {3, 2}}, CellTextKind::Value),
              QList<QStringList>(
                  {{u"name"_s, u"a,b \"q\""_s}, {u"1.5"_s, QString()}, {QString(), u"日本語"_s}}));
}

INSTANTIATE_TEST_SUITE_P(Formats, HostCellTextTest, ::testing::ValuesIn(workbookFormats()),
                         formatName);

} // namespace
} // namespace brelix::contract
