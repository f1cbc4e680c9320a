#include "HostContractTest.h"

#include <QDir>

using namespace Qt::StringLiterals;
using brelix::host::HostError;
using brelix::support::thrownKind;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

class HostFailureTest : public HostContractTest {};

TEST_F(HostFailureTest, OpeningAMissingFileFailsToOpen)
{
    host::SpreadsheetHost& host = sharedHost();
    EXPECT_EQ(thrownKind([&] { host.openWorkbook(pathOf(u"missing.xls"_s)); }),
              HostError::Kind::OpenFailed);
    EXPECT_TRUE(host.workbookNames().isEmpty());
}

TEST_F(HostFailureTest, UnknownWorkbooksAndSheetsAreNotFound)
{
    host::SpreadsheetHost& host = sharedHost();
    const QString book = open(u"known.xls"_s, WorkbookContent::withSheets({u"A"_s, u"B"_s}));

    EXPECT_EQ(thrownKind([&] { host.sheetCount(u"unknown.xls"_s); }), HostError::Kind::NotFound);
    EXPECT_EQ(thrownKind([&] { host.activateWorkbook(u"unknown.xls"_s); }),
              HostError::Kind::NotFound);
    EXPECT_EQ(thrownKind([&] { host.sheetName(book, 0); }), HostError::Kind::NotFound);
    EXPECT_EQ(thrownKind([&] { host.sheetName(book, 3); }), HostError::Kind::NotFound);
    EXPECT_EQ(thrownKind([&] { host.cellText(book, 3, 1, 1, host::CellTextKind::Value); }),
              HostError::Kind::NotFound);
    EXPECT_EQ(thrownKind([&] { host.lastUsedCell(book, 3); }), HostError::Kind::NotFound);
}

TEST_F(HostFailureTest, ASecondWorkbookOfTheSameNameIsRefused)
{
    host::SpreadsheetHost& host = sharedHost();
    const WorkbookContent content = WorkbookContent::withSheets({u"A"_s});
    const QString path = writeFile(u"same.xls"_s, content);
    ASSERT_TRUE(QDir(pathOf(QString())).mkdir(u"other"_s));
    const QString otherPath = writeFile(u"other/same.xls"_s, content);
    host.openWorkbook(path);

    EXPECT_EQ(thrownKind([&] { host.openWorkbook(path); }), HostError::Kind::General);
    EXPECT_EQ(thrownKind([&] { host.openWorkbook(otherPath); }), HostError::Kind::General);
    EXPECT_EQ(host.workbookNames(), QStringList({u"same.xls"_s}));
}

TEST_F(HostFailureTest, AQuitInstanceAnswersNoMore)
{
    std::unique_ptr<host::SpreadsheetHost> host = subject().start();
    const QString book =
        host->openWorkbook(writeFile(u"quit.xls"_s, WorkbookContent::withSheets({u"A"_s})));
    host->quit();

    EXPECT_EQ(thrownKind([&] { host->workbookNames(); }), HostError::Kind::Unavailable);
    EXPECT_EQ(thrownKind([&] { host->sheetCount(book); }), HostError::Kind::Unavailable);
    EXPECT_EQ(thrownKind([&] { host->quit(); }), HostError::Kind::Unavailable);
}

} // namespace
} // namespace brelix::contract
