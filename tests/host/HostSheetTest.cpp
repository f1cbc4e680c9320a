#include "HostContractTest.h"

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellPosition;
using brelix::host::HostError;
using brelix::support::thrownKind;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

class HostSheetTest : public HostFormatTest {};

TEST_P(HostSheetTest, ListsSheetsWithNamesVisibilityAndUsedArea)
{
    WorkbookContent content = WorkbookContent::withSheets({u"Empty"_s, u"隠し"_s, u"Third one"_s});
    content.sheets[1].visible = false;
    content.sheets[1].setCell(3, 2, CellContent::ofNumber(1));
    content.sheets[1].setCell(5, 1, CellContent::ofText(u"bottom"_s));
    content.sheets[1].setCell(2, 4, CellContent::ofText(u"right"_s));
    content.sheets[2].setCell(7, 3, CellContent::ofNumber(0));
    const QString book = open(fileName(u"sheets"_s), content);
    host::SpreadsheetHost& host = sharedHost();

    ASSERT_EQ(host.sheetCount(book), 3);
    const QList<std::tuple<QString, bool, CellPosition>> expected = {
        {u"Empty"_s, true, {1, 1}}, {u"隠し"_s, false, {5, 4}}, {u"Third one"_s, true, {7, 3}}};
    for (int sheet = 1; sheet <= 3; ++sheet) {
        SCOPED_TRACE(sheet);
        EXPECT_EQ(host.sheetName(book, sheet), std::get<0>(expected[sheet - 1]));
        EXPECT_EQ(host.isSheetVisible(book, sheet), std::get<1>(expected[sheet - 1]));
        EXPECT_EQ(host.lastUsedCell(book, sheet), std::get<2>(expected[sheet - 1]));
    }
}

// A hidden workbook opens on its first sheet, whichever sheet its file had active: the runs
// always activate the sheets they want.
TEST_P(HostSheetTest, AWorkbookOpensOnItsFirstSheetUntilAnotherIsActivated)
{
    WorkbookContent content = WorkbookContent::withSheets({u"A"_s, u"B"_s, u"C"_s});
    content.activeSheet = 2;
    const QString book = open(fileName(u"active"_s), content);

    EXPECT_EQ(probe().activeSheet(book), 1);
    sharedHost().activateSheet(book, 3);
    EXPECT_EQ(probe().activeSheet(book), 3);
}

TEST_P(HostSheetTest, AProtectedSheetHidesItsExtentUntilTheRightPasswordIsGiven)
{
    WorkbookContent content = WorkbookContent::withSheets({u"Open"_s, u"Locked"_s});
    content.sheets[1].isProtected = true;
    content.sheets[1].password = u"secret"_s;
    content.sheets[1].setCell(2, 2, CellContent::ofText(u"hidden away"_s));
    content.sheets[1].setCell(3, 3, CellContent::ofNumber(42));
    const QString book = open(fileName(u"protected"_s), content);
    host::SpreadsheetHost& host = sharedHost();

    EXPECT_FALSE(host.isSheetProtected(book, 1));
    EXPECT_EQ(host.lastUsedCell(book, 1), (CellPosition{1, 1}));
    for (const QString& wrong : {u"Secret"_s, QString()}) {
        EXPECT_EQ(thrownKind([&] { host.unprotectSheet(book, 2, wrong); }),
                  HostError::Kind::WrongPassword);
        EXPECT_TRUE(host.isSheetProtected(book, 2));
        EXPECT_EQ(thrownKind([&] { host.lastUsedCell(book, 2); }), HostError::Kind::SheetProtected);
    }

    host.unprotectSheet(book, 2, u"secret"_s);
    EXPECT_FALSE(host.isSheetProtected(book, 2));
    EXPECT_EQ(host.lastUsedCell(book, 2), (CellPosition{3, 3}));
    EXPECT_EQ(host.rangeTexts(book, 2, {{2, 2}, {3, 3}}, host::CellTextKind::Value),
              QList<QStringList>({{u"hidden away"_s, QString()}, {QString(), u"42"_s}}));
}

TEST_P(HostSheetTest, RenamesASheetUnlessTheNameIsRefused)
{
    const QString book =
        open(fileName(u"rename"_s), WorkbookContent::withSheets({u"Keep"_s, u"Other"_s}));
    host::SpreadsheetHost& host = sharedHost();

    for (const QString& name : {QString(), u"a/b"_s, u"a\\b"_s, u"what?"_s, u"star*"_s, u"[x]"_s,
                                u"a:b"_s, u"Other"_s, u"'quoted'"_s}) {
        EXPECT_EQ(thrownKind([&] { host.setSheetName(book, 1, name); }),
                  HostError::Kind::NameRefused)
            << name.toStdString();
        EXPECT_EQ(host.sheetName(book, 1), u"Keep"_s);
    }
    host.setSheetName(book, 1, u"Keep"_s); // its own name again
    host.setSheetName(book, 2, u"変更履歴 2"_s);
    EXPECT_EQ(host.sheetName(book, 2), u"変更履歴 2"_s);
}

TEST_P(HostSheetTest, DeletesASheetByNameButNeverTheLastOne)
{
    const QString book =
        open(fileName(u"delete"_s), WorkbookContent::withSheets({u"A"_s, u"B"_s, u"C"_s}));
    host::SpreadsheetHost& host = sharedHost();

    host.deleteSheet(book, u"B"_s);
    EXPECT_EQ(thrownKind([&] { host.deleteSheet(book, u"B"_s); }), HostError::Kind::NotFound);
    host.deleteSheet(book, u"A"_s);
    EXPECT_THROW(host.deleteSheet(book, u"C"_s), HostError);
    ASSERT_EQ(host.sheetCount(book), 1);
    EXPECT_EQ(host.sheetName(book, 1), u"C"_s);
}

INSTANTIATE_TEST_SUITE_P(Formats, HostSheetTest, ::testing::ValuesIn(workbookFormats()),
                         formatName);

} // namespace
} // namespace brelix::contract
