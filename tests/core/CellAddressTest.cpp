#include "core/host/CellAddress.h"

#include "core/host/ColorPalette.h"

#include <QFile>
#include <gtest/gtest.h>

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

} // namespace
} // namespace brelix::host
