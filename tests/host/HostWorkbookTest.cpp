#include "HostContractTest.h"
#include "core/host/ColorPalette.h"

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellPosition;
using brelix::host::CellRange;
using brelix::host::CellTextKind;
using brelix::support::CellBorders;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

constexpr int Red = 3;
constexpr int Yellow = 6;
constexpr CellBorders AllEdges{true, true, true, true};

class HostWorkbookTest : public HostFormatTest {
protected:
    // Writes values, names a sheet and styles cells of the open workbook.
    static void change(const QString& book)
    {
        host::SpreadsheetHost& host = sharedHost();
        host.writeRows(book, 1, 2, 3,
                       {{7, 0.1 + 0.2, -2.5e-7, u"=1+1"_s}, {u"0001"_s, u"日本, \"語\"\n次"_s}});
        host.writeRows(book, 1, 1, 1, {{QVariant(), u"new"_s}}); // A1 "old" emptied
        host.setCellValue(book, 1, 1, 3, QVariant());            // C1 "old" emptied
        host.setCellValue(book, 2, 4, 2, 12345678);
        host.setSheetName(book, 2, u"Renamed"_s);
        host.fillRange(book, 1, {{5, 2}, {6, 3}}, Red);
        host.fillCells(book, 1, {{8, 5}, {9, 6}}, Yellow);
        host.fillRange(book, 1, {{5, 4}, {5, 4}}, 36);
        host.fillCells(book, 1, {{5, 4}}, host::ColorPalette::NoColor);
        host.drawGrid(book, 1, {{11, 2}, {12, 4}});
    }

    // What change() left, with the fill and the edges the file came with at G1 and G3. Cells
    // next to edges may share them; only the edged cells and those further away are certain.
    static void expectChanged(const QString& book)
    {
        host::SpreadsheetHost& host = sharedHost();
        EXPECT_EQ(host.rangeTexts(book, 1, {{1, 1}, {3, 6}}, CellTextKind::Formula),
                  QList<QStringList>({{QString(), u"new"_s, QString(), u"kept"_s, {}, {}},
                                      {{}, {}, u"7"_s, u"0.3"_s, u"-2.5E-07"_s, u"=1+1"_s},
                                      {{}, {}, u"0001"_s, u"日本, \"語\"\n次"_s, {}, {}}}));
        EXPECT_EQ(host.rangeTexts(book, 2, {{4, 2}, {4, 2}}, CellTextKind::Value),
                  QList<QStringList>({{u"12345678"_s}}));
        EXPECT_EQ(host.sheetName(book, 2), u"Renamed"_s);
        EXPECT_EQ(host.lastUsedCell(book, 2), (CellPosition{4, 2}));
        const CellRange grid{{11, 2}, {12, 4}};
        for (int row = 1; row <= 14; ++row) {
            for (int column = 1; column <= 7; ++column) {
                SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
                int fill = host::ColorPalette::NoColor;
                if (CellRange{{5, 2}, {6, 3}}.contains({row, column}))
                    fill = Red;
                else if ((row == 8 && column == 5) || (row == 9 && column == 6))
                    fill = Yellow;
                else if (row == 1 && column == 7)
                    fill = 44;
                EXPECT_EQ(probe().cellColorIndex(book, 1, row, column), fill);
                const bool nearEdges =
                    column >= 6 || CellRange{{10, 1}, {13, 5}}.contains({row, column});
                if (grid.contains({row, column}) || !nearEdges) {
                    EXPECT_EQ(probe().cellBorders(book, 1, row, column),
                              grid.contains({row, column}) ? AllEdges : CellBorders{});
                }
            }
        }
        EXPECT_EQ(probe().cellBorders(book, 1, 3, 7), AllEdges);
        EXPECT_EQ(probe().cellColorIndex(book, 2, 5, 2), host::ColorPalette::NoColor);
    }

    static WorkbookContent original()
    {
        WorkbookContent content = WorkbookContent::withSheets({u"Data"_s, u"More"_s});
        for (int column = 1; column <= 4; column += 2)
            content.sheets[0].setCell(1, column, CellContent::ofText(u"old"_s));
        content.sheets[0].setCell(1, 4, CellContent::ofText(u"kept"_s));
        content.sheets[0].fills[{1, 7}] = 44;
        content.sheets[0].borders[{3, 7}] = AllEdges;
        return content;
    }
};

TEST_P(HostWorkbookTest, OpensByTheBareFileNameActivatesAndCloses)
{
    host::SpreadsheetHost& host = sharedHost();
    const QString first = open(fileName(u"first"_s), WorkbookContent::withSheets({u"A"_s}));
    const QString second = open(fileName(u"Ä second"_s), WorkbookContent::withSheets({u"B"_s}));
    const QString third = open(fileName(u"third"_s), WorkbookContent::withSheets({u"C"_s}));

    EXPECT_EQ(first, fileName(u"first"_s));
    EXPECT_EQ(second, fileName(u"Ä second"_s));
    EXPECT_EQ(host.workbookNames(), QStringList({first, second, third}));
    EXPECT_EQ(probe().activeWorkbook(), third);
    host.activateWorkbook(first);
    EXPECT_EQ(probe().activeWorkbook(), first);

    host.closeWorkbook(second);
    EXPECT_EQ(host.workbookNames(), QStringList({first, third}));
    EXPECT_EQ(host.sheetName(third, 1), u"C"_s);
    host.closeWorkbook(first); // the last one opened becomes active
    EXPECT_EQ(probe().activeWorkbook(), third);
    host.closeAllWorkbooks();
    EXPECT_TRUE(host.workbookNames().isEmpty());
}

TEST_P(HostWorkbookTest, ChangesReadBackAndSurviveSavingAndReopening)
{
    const QString path = writeFile(fileName(u"saved"_s), original());
    const QString book = sharedHost().openWorkbook(path);
    change(book);
    expectChanged(book);
    sharedHost().saveWorkbook(book);
    sharedHost().closeWorkbook(book);

    expectChanged(sharedHost().openWorkbook(path));
}

TEST_P(HostWorkbookTest, ClosingUnsavedDropsTheChanges)
{
    const QString path = writeFile(fileName(u"unsaved"_s), original());
    change(sharedHost().openWorkbook(path));
    sharedHost().closeAllWorkbooks();

    const QString book = sharedHost().openWorkbook(path);
    EXPECT_EQ(probe().cellText(book, 1, 1, 1, CellTextKind::Value), u"old"_s);
    EXPECT_EQ(probe().cellColorIndex(book, 1, 5, 2), host::ColorPalette::NoColor);
}

INSTANTIATE_TEST_SUITE_P(Formats, HostWorkbookTest, ::testing::ValuesIn(workbookFormats()),
                         formatName);

} // namespace
} // namespace brelix::contract
