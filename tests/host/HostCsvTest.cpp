#include "HostContractTest.h"

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellTextKind;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

class HostCsvTest : public HostContractTest {};

TEST_F(HostCsvTest, ACsvFileOpensAsOneSheetNamedAfterTheFile)
{
    WorkbookContent content = WorkbookContent::withSheets({u"ignored"_s});
    support::SheetContent& sheet = content.sheets[0];
    sheet.setCell(1, 1, CellContent::ofText(u"name"_s));
    sheet.setCell(1, 2, CellContent::ofText(u"note"_s));
    sheet.setCell(2, 1, CellContent::ofNumber(42));
    sheet.setCell(2, 2, CellContent::ofText(u"a,b \"q\""_s));
    sheet.setCell(3, 1, CellContent::ofNumber(1.5));
    sheet.setCell(3, 2, CellContent::ofText(u"日本語"_s));
    const QString book = open(u"data.csv"_s, content);
    host::SpreadsheetHost& host = sharedHost();

    EXPECT_EQ(book, u"data.csv"_s);
    ASSERT_EQ(host.sheetCount(book), 1);
    EXPECT_EQ(host.sheetName(book, 1), u"data"_s);
    EXPECT_EQ(host.lastUsedCell(book, 1), (host::CellPosition{3, 2}));
    EXPECT_EQ(host.rangeTexts(book, 1, {{1, 1}, {3, 2}}, CellTextKind::Value),
              QList<QStringList>(
                  {{u"name"_s, u"note"_s}, {u"42"_s, u"a,b \"q\""_s}, {u"1.5"_s, u"日本語"_s}}));
}

} // namespace
} // namespace brelix::contract
