#include "core/host/CellAddress.h"
#include "core/host/CellText.h"
#include "core/host/ColorPalette.h"
#include "core/host/HostError.h"

#include <QFile>
#include <QHash>
#include <gtest/gtest.h>
#include <string>

namespace brelix::host {
namespace {

TEST(CellAddress, NamesColumnsInBijectiveBase26BeforeTheRow)
{
    const std::pair<int, const char*> columns[] = {
        {1, "A"},      {2, "B"},       {26, "Z"},      {27, "AA"},      {28, "AB"},   {52, "AZ"},
        {53, "BA"},    {256, "IV"},    {702, "ZZ"},    {703, "AAA"},    {728, "AAZ"}, {729, "ABA"},
        {1024, "AMJ"}, {16384, "XFD"}, {18278, "ZZZ"}, {18279, "AAAA"}, {0, ""},      {-3, ""},
    };
    for (const auto& [column, letters] : columns)
        EXPECT_EQ(columnLetters(column).toStdString(), letters) << "column " << column;
    EXPECT_EQ(cellAddress(120, 28).toStdString(), "AB120");
    EXPECT_EQ(cellAddress(1048576, 16384).toStdString(), "XFD1048576");
}

// The golden file holds the palette as a user sees it in the fills the runs make.
TEST(ColorPalette, MatchesTheGoldenFileAndKnowsNoOtherIndexes)
{
    QFile golden(QStringLiteral(BRELIX_TEST_DATA_DIR "/palette.txt"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList expected;
    for (const QString& line : QString::fromLatin1(golden.readAll()).split(u'\n'))
        if (!line.isEmpty() && !line.startsWith(u'#'))
            expected.append(line);
    QStringList actual;
    for (int index = 1; index <= ColorPalette::Count; ++index) {
        EXPECT_TRUE(ColorPalette::isValidIndex(index)) << index;
        actual.append(QStringLiteral("%1 %2")
                          .arg(index)
                          .arg(ColorPalette::rgb(index), 6, 16, QLatin1Char('0'))
                          .toUpper());
    }
    EXPECT_EQ(actual, expected);
    for (int index : {-1, ColorPalette::NoColor, ColorPalette::Count + 1}) {
        EXPECT_FALSE(ColorPalette::isValidIndex(index)) << index;
        EXPECT_EQ(ColorPalette::rgb(index), 0u) << index;
    }
}

using Style = CellContent::NumberStyle;

// One line of the golden file as the cell it describes; fields of '-' keep their defaults.
CellContent cellOf(const QStringList& f)
{
    static const QHash<QString, Style> styles = {{QStringLiteral("general"), Style::General},
                                                 {QStringLiteral("date"), Style::Date},
                                                 {QStringLiteral("time"), Style::Time},
                                                 {QStringLiteral("datetime"), Style::DateTime}};
    CellContent cell;
    if (f[0] == u"number")
        cell = CellContent::ofNumber(f[1].toDouble(), styles.value(f[2]));
    else if (f[0] == u"text")
        cell = CellContent::ofText(f[1]);
    else if (f[0] == u"boolean")
        cell = CellContent::ofBoolean(f[1] == u"1");
    else if (f[0] == u"error")
        cell = CellContent::ofError(f[1]);
    if (f[4] != u"-")
        cell.formula = f[4];
    return cell;
}

TEST(CellText, EveryCellOfTheGoldenFileGivesItsTwoTexts)
{
    QFile golden(QStringLiteral(BRELIX_TEST_DATA_DIR "/cell-texts.tsv"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly | QIODevice::Text));
    int cases = 0;
    for (const QString& line : QString::fromUtf8(golden.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u'\t');
        ASSERT_EQ(f.size(), 7) << line.toStdString();
        const CellContent cell = cellOf(f);
        const QDate nullDate =
            f[3] == u"-" ? defaultNullDate() : QDate::fromString(f[3], Qt::ISODate);
        EXPECT_EQ(valueText(cell, nullDate).toStdString(), f[5].toStdString())
            << line.toStdString();
        EXPECT_EQ(formulaText(cell, nullDate).toStdString(), f[6].toStdString())
            << line.toStdString();
        ++cases;
    }
    EXPECT_GT(cases, 60);
}

using Kind = HostError::Kind;

TEST(HostError, CarriesItsKindNumberAndDescription)
{
    // The numbers the error report shows: three failures a user acts on, 1004 for the rest.
    const std::pair<Kind, int> numbers[] = {
        {Kind::NotFound, 9},         {Kind::StartFailed, 429},  {Kind::Unavailable, 462},
        {Kind::General, 1004},       {Kind::OpenFailed, 1004},  {Kind::SheetProtected, 1004},
        {Kind::WrongPassword, 1004}, {Kind::NameRefused, 1004}, {Kind::PrintFailed, 1004},
    };
    const QString description = QStringLiteral("シート 'Grep結果' がありません");
    for (const auto& [kind, number] : numbers) {
        const HostError error(kind, description);
        EXPECT_EQ(error.kind(), kind);
        EXPECT_EQ(error.number(), number) << static_cast<int>(kind);
        EXPECT_EQ(error.description(), description);
        // Callers that only know std::exception still get the text, as UTF-8.
        EXPECT_EQ(std::string(error.what()), description.toStdString());
    }
}

} // namespace
} // namespace brelix::host
