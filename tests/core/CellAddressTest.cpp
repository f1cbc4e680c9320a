#include "core/host/CellAddress.h"

#include "core/host/ColorPalette.h"

#include <gtest/gtest.h>
#include <string>

namespace brelix::host {
namespace {

TEST(ColumnLetters, CountsInBijectiveBase26)
{
    const std::pair<int, const char*> cases[] = {
        {1, "A"},      {2, "B"},       {26, "Z"},      {27, "AA"},      {28, "AB"},   {52, "AZ"},
        {53, "BA"},    {256, "IV"},    {702, "ZZ"},    {703, "AAA"},    {728, "AAZ"}, {729, "ABA"},
        {1024, "AMJ"}, {16384, "XFD"}, {18278, "ZZZ"}, {18279, "AAAA"},
    };
    for (const auto& [column, letters] : cases)
        EXPECT_EQ(columnLetters(column).toStdString(), letters) << "column " << column;
}

TEST(ColumnLetters, HasNoLettersForColumnsBeforeTheFirst)
{
    EXPECT_TRUE(columnLetters(0).isEmpty());
    EXPECT_TRUE(columnLetters(-3).isEmpty());
}

TEST(CellAddress, PutsTheColumnBeforeTheRow)
{
    EXPECT_EQ(cellAddress(1, 1).toStdString(), "A1");
    EXPECT_EQ(cellAddress(120, 28).toStdString(), "AB120");
    EXPECT_EQ(cellAddress(65536, 256).toStdString(), "IV65536");
    EXPECT_EQ(cellAddress(1048576, 16384).toStdString(), "XFD1048576");
}

TEST(ColorPalette, HasTheClassicColoursAtTheirIndexes)
{
    EXPECT_EQ(ColorPalette::rgb(1), 0x000000u);
    EXPECT_EQ(ColorPalette::rgb(2), 0xFFFFFFu);
    EXPECT_EQ(ColorPalette::rgb(3), 0xFF0000u);
    EXPECT_EQ(ColorPalette::rgb(4), 0x00FF00u);
    EXPECT_EQ(ColorPalette::rgb(5), 0x0000FFu);
    EXPECT_EQ(ColorPalette::rgb(6), 0xFFFF00u);
    EXPECT_EQ(ColorPalette::rgb(7), 0xFF00FFu);
    EXPECT_EQ(ColorPalette::rgb(8), 0x00FFFFu);
    EXPECT_EQ(ColorPalette::rgb(15), 0xC0C0C0u);
    EXPECT_EQ(ColorPalette::rgb(35), 0xCCFFCCu);
    EXPECT_EQ(ColorPalette::rgb(56), 0x333333u);
}

TEST(ColorPalette, RefusesIndexesOutsideThePalette)
{
    for (int index : {-1, ColorPalette::NoColor, ColorPalette::Count + 1, 1000}) {
        EXPECT_FALSE(ColorPalette::isValidIndex(index)) << index;
        EXPECT_EQ(ColorPalette::rgb(index), 0u) << index;
    }
    EXPECT_TRUE(ColorPalette::isValidIndex(1));
    EXPECT_TRUE(ColorPalette::isValidIndex(ColorPalette::Count));
}

TEST(ColorPalette, FindsEachIndexByItsColour)
{
    int unique = 0;
    for (int index = 1; index <= ColorPalette::Count; ++index) {
        const ColorPalette::Rgb colour = ColorPalette::rgb(index);
        int first = 1;
        while (ColorPalette::rgb(first) != colour)
            ++first;
        // A repeated colour maps back to its first index.
        EXPECT_EQ(ColorPalette::indexOf(colour), first) << "index " << index;
        unique += first == index;
    }
    EXPECT_EQ(unique, 46); // ten colours of the palette appear twice
    EXPECT_EQ(ColorPalette::indexOf(0xFFFF00), 6);
    EXPECT_EQ(ColorPalette::indexOf(0xFF00FF), 7);
}

TEST(ColorPalette, IgnoresAlphaAndKnowsNoOtherColours)
{
    EXPECT_EQ(ColorPalette::indexOf(0xFFFFFF00), 6); // opaque yellow as QColor::rgb() gives it
    EXPECT_EQ(ColorPalette::indexOf(0x123456), ColorPalette::NoColor);
    EXPECT_EQ(ColorPalette::indexOf(0xFFFF01), ColorPalette::NoColor);
}

} // namespace
} // namespace brelix::host
