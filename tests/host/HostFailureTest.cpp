#include "HostContractTest.h"

#include <functional>

using namespace Qt::StringLiterals;
using brelix::host::HostError;
using brelix::support::thrownKind;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

class HostFailureTest : public HostContractTest {};

TEST_F(HostFailureTest, MissingEncryptedAndSameNamedWorkbooksDoNotOpen)
{
    host::SpreadsheetHost& host = sharedHost();
    const WorkbookContent content = WorkbookContent::withSheets({u"A"_s});
    const QString path = writeFile(u"same.xls"_s, content);
    const QString otherPath = writeFile(u"other/same.xls"_s, content);
    const QString locked = writeFile(u"locked.ods"_s, content, u"secret"_s);
    host.openWorkbook(path);

    const QList<std::pair<QString, HostError::Kind>> refused = {
        {pathOf(u"missing.xls"_s), HostError::Kind::OpenFailed},
        {locked, HostError::Kind::OpenFailed},
        {path, HostError::Kind::General},
        {otherPath, HostError::Kind::General},
    };
    for (const auto& [file, kind] : refused)
        EXPECT_EQ(thrownKind([&] { host.openWorkbook(file); }), kind) << file.toStdString();
    EXPECT_EQ(host.workbookNames(), QStringList({u"same.xls"_s}));
}

TEST_F(HostFailureTest, UnknownWorkbooksAndSheetsAreNotFound)
{
    host::SpreadsheetHost& host = sharedHost();
    const QString book = open(u"known.xls"_s, WorkbookContent::withSheets({u"A"_s, u"B"_s}));
    const QList<std::function<void()>> calls = {
        [&] { host.sheetCount(u"unknown.xls"_s); },
        [&] { host.activateWorkbook(u"unknown.xls"_s); },
        [&] { host.sheetName(book, 0); },
        [&] { host.sheetName(book, 3); },
        [&] {
            host.rangeTexts(book, 3, {{1, 1}, {1, 1}}, host::CellTextKind::Value);
        },
        [&] { host.lastUsedCell(book, 3); },
    };
    for (int i = 0; i < calls.size(); ++i)
        EXPECT_EQ(thrownKind(calls[i]), HostError::Kind::NotFound) << "call " << i;
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
