#include "HostContractTest.h"

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

class HostWorkbookTest : public HostFormatTest {};

TEST_P(HostWorkbookTest, OpenNamesTheWorkbookByItsBareFileNameAndActivatesIt)
{
    host::SpreadsheetHost& host = sharedHost();
    const QString first = open(fileName(u"first"_s), WorkbookContent::withSheets({u"A"_s}));
    const QString second = open(fileName(u"Ä second"_s), WorkbookContent::withSheets({u"B"_s}));

    EXPECT_EQ(first, fileName(u"first"_s));
    EXPECT_EQ(second, fileName(u"Ä second"_s));
    EXPECT_EQ(host.workbookNames(), QStringList({first, second}));
    EXPECT_EQ(host.activeWorkbook(), second);

    host.activateWorkbook(first);
    EXPECT_EQ(host.activeWorkbook(), first);
}

TEST_P(HostWorkbookTest, ClosingOneWorkbookLeavesTheOthersOpen)
{
    host::SpreadsheetHost& host = sharedHost();
    const QString first = open(fileName(u"first"_s), WorkbookContent::withSheets({u"A"_s}));
    const QString second = open(fileName(u"second"_s), WorkbookContent::withSheets({u"B"_s}));

    host.closeWorkbook(second);
    EXPECT_EQ(host.workbookNames(), QStringList({first}));
    EXPECT_EQ(host.sheetName(first, 1), u"A"_s);

    host.closeAllWorkbooks();
    EXPECT_TRUE(host.workbookNames().isEmpty());
}

TEST_P(HostWorkbookTest, AddedWorkbookIsActiveAndHasAnEmptySheet)
{
    host::SpreadsheetHost& host = sharedHost();
    const QString opened = open(fileName(u"opened"_s), WorkbookContent::withSheets({u"A"_s}));

    const QString added = host.addWorkbook();
    EXPECT_NE(added, opened);
    EXPECT_EQ(host.activeWorkbook(), added);
    EXPECT_TRUE(host.workbookNames().contains(added));
    ASSERT_GE(host.sheetCount(added), 1);
    EXPECT_EQ(host.lastUsedCell(added, 1), (host::CellPosition{1, 1}));
    EXPECT_EQ(host.cellText(added, 1, 1, 1, host::CellTextKind::Value), QString());
}

TEST_P(HostWorkbookTest, SavedChangesAreReadAfterReopening)
{
    host::SpreadsheetHost& host = sharedHost();
    WorkbookContent content = WorkbookContent::withSheets({u"Data"_s, u"More"_s});
    content.sheets[0].setCell(1, 1, CellContent::ofText(u"before"_s));
    const QString path = writeFile(fileName(u"saved"_s), content);
    const QString book = host.openWorkbook(path);

    host.setCellValue(book, 1, 1, 1, u"after"_s);
    host.writeRows(book, 2, 3, 2, {{1.5, u"日本"_s}});
    host.setSheetName(book, 2, u"Renamed"_s);
    host.saveWorkbook(book);
    host.closeWorkbook(book);

    const QString reopened = host.openWorkbook(path);
    EXPECT_EQ(host.cellText(reopened, 1, 1, 1, host::CellTextKind::Value), u"after"_s);
    EXPECT_EQ(host.sheetName(reopened, 2), u"Renamed"_s);
    EXPECT_EQ(host.rangeTexts(reopened, 2, {{3, 2}, {3, 3}}, host::CellTextKind::Value),
              QList<QStringList>({{u"1.5"_s, u"日本"_s}}));
}

TEST_P(HostWorkbookTest, ClosingUnsavedDropsTheChanges)
{
    host::SpreadsheetHost& host = sharedHost();
    WorkbookContent content = WorkbookContent::withSheets({u"Data"_s});
    content.sheets[0].setCell(1, 1, CellContent::ofText(u"kept"_s));
    const QString path = writeFile(fileName(u"unsaved"_s), content);

    host.setCellValue(host.openWorkbook(path), 1, 1, 1, u"dropped"_s);
    host.closeAllWorkbooks();

    const QString reopened = host.openWorkbook(path);
    EXPECT_EQ(host.cellText(reopened, 1, 1, 1, host::CellTextKind::Value), u"kept"_s);
}

INSTANTIATE_TEST_SUITE_P(Formats, HostWorkbookTest, ::testing::ValuesIn(workbookFormats()),
                         formatName);

} // namespace
} // namespace brelix::contract
