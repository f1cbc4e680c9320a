#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "ThrownKind.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellTextKind;
using brelix::host::HostError;

namespace brelix::support {
namespace {

WorkbookContent twoSheets()
{
    WorkbookContent book = WorkbookContent::withSheets({u"A"_s, u"B"_s});
    book.sheets[0].setCell(1, 1, CellContent::ofNumber(1));
    return book;
}

class InMemoryHostTest : public ::testing::Test {
protected:
    InMemoryHostTest() { m_host.addFile(u"/p/a.xls"_s, twoSheets()); }
    InMemoryHost m_host;
};

TEST_F(InMemoryHostTest, RecordsEveryCallInOrderIncludingFailedOnes)
{
    m_host.openWorkbook(u"/p/a.xls"_s);
    m_host.cellText(u"a.xls"_s, 1, 2, 3, CellTextKind::Value);
    m_host.rangeTexts(u"a.xls"_s, 2, {{1, 1}, {2, 3}}, CellTextKind::Formula);
    m_host.fillCells(u"a.xls"_s, 1, {{1, 1}, {2, 2}}, 6);
    m_host.printSheet(u"a.xls"_s, 2, host::PageRange{1, 3});
    EXPECT_THROW(m_host.sheetName(u"b.xls"_s, 1), HostError);

    EXPECT_EQ(m_host.calls(), QStringList({
                                  u"openWorkbook(/p/a.xls)"_s,
                                  u"cellText(a.xls,1,2,3,Value)"_s,
                                  u"rangeTexts(a.xls,2,A1:C2,Formula)"_s,
                                  u"fillCells(a.xls,1,A1 B2,6)"_s,
                                  u"printSheet(a.xls,2,1-3)"_s,
                                  u"sheetName(b.xls,1)"_s,
                              }));
}

TEST_F(InMemoryHostTest, FailOnFailsOnlyTheNthUseOfThatOperation)
{
    m_host.openWorkbook(u"/p/a.xls"_s);
    m_host.failOn(u"sheetName"_s, 2, HostError::Kind::NotFound);

    EXPECT_EQ(thrownKind([&] { m_host.sheetName(u"a.xls"_s, 1); }), std::nullopt);
    EXPECT_EQ(thrownKind([&] { m_host.sheetCount(u"a.xls"_s); }), std::nullopt);
    EXPECT_EQ(thrownKind([&] { m_host.sheetName(u"a.xls"_s, 1); }), HostError::Kind::NotFound);
    EXPECT_EQ(thrownKind([&] { m_host.sheetName(u"a.xls"_s, 1); }), std::nullopt);
}

TEST_F(InMemoryHostTest, AnUnavailableFailureEndsTheInstance)
{
    m_host.openWorkbook(u"/p/a.xls"_s);
    m_host.failOn(u"lastUsedCell"_s, 1, HostError::Kind::Unavailable);

    EXPECT_EQ(thrownKind([&] { m_host.lastUsedCell(u"a.xls"_s, 1); }),
              HostError::Kind::Unavailable);
    EXPECT_EQ(thrownKind([&] { m_host.sheetCount(u"a.xls"_s); }), HostError::Kind::Unavailable);
}

TEST_F(InMemoryHostTest, HandOverLeavesTheWorkbooksOpenAndVisible)
{
    m_host.openWorkbook(u"/p/a.xls"_s);
    m_host.setCellValue(u"a.xls"_s, 1, 2, 2, u"x"_s);
    m_host.handOver();

    EXPECT_EQ(m_host.state(), InMemoryHost::State::HandedOver);
    EXPECT_TRUE(m_host.isVisible());
    EXPECT_EQ(m_host.workbook(u"a.xls"_s).sheets[0].cell(2, 2).text, u"x"_s);
    EXPECT_EQ(thrownKind([&] { m_host.quit(); }), HostError::Kind::Unavailable);
}

TEST_F(InMemoryHostTest, AddedWorkbooksAreNumberedAndCannotBeSaved)
{
    EXPECT_EQ(m_host.addWorkbook(), u"Book1"_s);
    EXPECT_EQ(m_host.addWorkbook(), u"Book2"_s);
    EXPECT_EQ(m_host.sheetName(u"Book2"_s, 1), u"Sheet1"_s);
    EXPECT_THROW(m_host.saveWorkbook(u"Book1"_s), HostError);
}

TEST_F(InMemoryHostTest, DeletingASheetBeforeTheActiveOneKeepsItActive)
{
    WorkbookContent book = WorkbookContent::withSheets({u"A"_s, u"B"_s, u"C"_s});
    book.activeSheet = 3;
    m_host.addFile(u"/p/three.xls"_s, book);
    m_host.openWorkbook(u"/p/three.xls"_s);

    m_host.deleteSheet(u"three.xls"_s, u"A"_s);
    EXPECT_EQ(m_host.sheetName(u"three.xls"_s, m_host.activeSheet(u"three.xls"_s)), u"C"_s);
    m_host.deleteSheet(u"three.xls"_s, u"C"_s);
    EXPECT_EQ(m_host.activeSheet(u"three.xls"_s), 1);
}

TEST_F(InMemoryHostTest, ArrangeTilesTheActiveWorkbookFirst)
{
    m_host.addFile(u"/p/b.xls"_s, twoSheets());
    m_host.openWorkbook(u"/p/a.xls"_s);
    m_host.openWorkbook(u"/p/b.xls"_s);

    m_host.arrangeWindows(host::WindowArrangement::SideBySide);
    EXPECT_EQ(m_host.windowGeometry(u"b.xls"_s).left, 0);
    EXPECT_EQ(m_host.windowGeometry(u"a.xls"_s).left, InMemoryHost::ScreenWidth / 2);
    EXPECT_EQ(m_host.windowGeometry(u"a.xls"_s).height, InMemoryHost::ScreenHeight);

    m_host.activateWorkbook(u"a.xls"_s);
    m_host.arrangeWindows(host::WindowArrangement::Stacked);
    EXPECT_EQ(m_host.windowGeometry(u"a.xls"_s).top, 0);
    EXPECT_EQ(m_host.windowGeometry(u"b.xls"_s).top, InMemoryHost::ScreenHeight / 2);
    EXPECT_EQ(m_host.windowGeometry(u"b.xls"_s).width, InMemoryHost::ScreenWidth);
}

TEST_F(InMemoryHostTest, PrintJobsAreRecorded)
{
    m_host.openWorkbook(u"/p/a.xls"_s);
    m_host.printWorkbook(u"a.xls"_s);
    m_host.printSheet(u"a.xls"_s, 2, std::nullopt);
    m_host.failOn(u"printSheet"_s, 2, HostError::Kind::PrintFailed);
    EXPECT_EQ(thrownKind([&] { m_host.printSheet(u"a.xls"_s, 1, std::nullopt); }),
              HostError::Kind::PrintFailed);

    ASSERT_EQ(m_host.printJobs().size(), 2);
    EXPECT_EQ(m_host.printJobs()[0].sheet, 0);
    EXPECT_EQ(m_host.printJobs()[1].sheet, 2);
    EXPECT_FALSE(m_host.printJobs()[1].pages.has_value());
}

TEST(InMemoryHostFactoryTest, InstancesShareTheFilesAndOutliveTheirHandles)
{
    InMemoryHostFactory factory;
    factory.addFile(u"/p/a.xls"_s, twoSheets());
    factory.onStart([](InMemoryHost& host) { host.failOn(u"activeWorkbook"_s, 1); });

    {
        std::unique_ptr<host::SpreadsheetHost> first = factory.start();
        first->openWorkbook(u"/p/a.xls"_s);
        first->setCellValue(u"a.xls"_s, 1, 1, 1, 2);
        first->saveWorkbook(u"a.xls"_s);
        EXPECT_THROW(first->activeWorkbook(), HostError);
    }
    std::unique_ptr<host::SpreadsheetHost> second = factory.start();
    second->openWorkbook(u"/p//a.xls"_s);

    EXPECT_EQ(second->cellText(u"a.xls"_s, 1, 1, 1, CellTextKind::Value), u"2"_s);
    EXPECT_EQ(factory.startCount(), 2);
    EXPECT_EQ(factory.host(0).calls().first(), u"openWorkbook(/p/a.xls)"_s);
    EXPECT_EQ(factory.savedContent(u"/p/a.xls"_s)->sheets[0].cell(1, 1).number, 2);

    factory.setFailStart(true);
    EXPECT_EQ(thrownKind([&] { factory.start(); }), HostError::Kind::StartFailed);
    EXPECT_EQ(factory.startCount(), 2);
}

} // namespace
} // namespace brelix::support
