#include "HostContractTest.h"
#include "core/host/ColorPalette.h"

using namespace Qt::StringLiterals;
using brelix::host::CellBorders;
using brelix::host::CellRange;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

constexpr CellBorders AllEdges{true, true, true, true};
constexpr CellBorders NoEdges{};
constexpr int Red = 3;
constexpr int Yellow = 6;
constexpr int LightYellow = 36;

class HostStyleTest : public HostFormatTest {
protected:
    QString openBlank(const QString& base)
    {
        return open(fileName(base), WorkbookContent::withSheets({u"S"_s, u"T"_s}));
    }

    // B2:C3 filled red, E5 and F7 yellow, the grid over B9:D10, D2 filled and then cleared.
    void style(const QString& book)
    {
        host::SpreadsheetHost& host = sharedHost();
        host.fillRange(book, 1, {{2, 2}, {3, 3}}, Red);
        host.fillCells(book, 1, {{5, 5}, {7, 6}}, Yellow);
        host.fillRange(book, 1, {{2, 4}, {2, 4}}, LightYellow);
        host.fillCells(book, 1, {{2, 4}}, host::ColorPalette::NoColor);
        host.drawGrid(book, 1, {{9, 2}, {10, 4}});
    }

    void expectStyled(const QString& book)
    {
        host::SpreadsheetHost& host = sharedHost();
        for (int row = 1; row <= 12; ++row) {
            for (int column = 1; column <= 7; ++column) {
                SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
                int fill = host::ColorPalette::NoColor;
                if (CellRange{{2, 2}, {3, 3}}.contains({row, column}))
                    fill = Red;
                else if ((row == 5 && column == 5) || (row == 7 && column == 6))
                    fill = Yellow;
                EXPECT_EQ(host.cellColorIndex(book, 1, row, column), fill);
                // Cells next to the grid may share its edges; only the inside and the cells
                // further away are certain.
                if (CellRange{{9, 2}, {10, 4}}.contains({row, column})) {
                    EXPECT_EQ(host.cellBorders(book, 1, row, column), AllEdges);
                } else if (!CellRange{{8, 1}, {11, 5}}.contains({row, column})) {
                    EXPECT_EQ(host.cellBorders(book, 1, row, column), NoEdges);
                }
            }
        }
        EXPECT_EQ(host.cellColorIndex(book, 2, 2, 2), host::ColorPalette::NoColor);
        EXPECT_EQ(host.cellBorders(book, 2, 9, 2), NoEdges);
    }
};

TEST_P(HostStyleTest, FillsAndGridLinesReadBack)
{
    const QString book = openBlank(u"style"_s);
    style(book);
    expectStyled(book);
}

TEST_P(HostStyleTest, FillsAndGridLinesSurviveSavingAndReopening)
{
    const QString book = openBlank(u"styled"_s);
    style(book);
    sharedHost().saveWorkbook(book);
    sharedHost().closeWorkbook(book);

    const QString reopened = sharedHost().openWorkbook(pathOf(fileName(u"styled"_s)));
    expectStyled(reopened);
}

TEST_P(HostStyleTest, FillsOfTheFileAreRead)
{
    WorkbookContent content = WorkbookContent::withSheets({u"S"_s});
    content.sheets[0].fills[{1, 1}] = 44;
    content.sheets[0].fills[{2, 3}] = 10;
    content.sheets[0].borders[{4, 4}] = AllEdges;
    const QString book = open(fileName(u"filled"_s), content);
    host::SpreadsheetHost& host = sharedHost();

    EXPECT_EQ(host.cellColorIndex(book, 1, 1, 1), 44);
    EXPECT_EQ(host.cellColorIndex(book, 1, 2, 3), 10);
    EXPECT_EQ(host.cellColorIndex(book, 1, 1, 2), host::ColorPalette::NoColor);
    EXPECT_EQ(host.cellBorders(book, 1, 4, 4), AllEdges);
}

INSTANTIATE_TEST_SUITE_P(Formats, HostStyleTest, ::testing::ValuesIn(workbookFormats()),
                         formatName);

} // namespace
} // namespace brelix::contract
