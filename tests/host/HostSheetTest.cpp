#include "HostContractTest.h"

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellPosition;
using brelix::host::HostError;
using brelix::support::thrownKind;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

class HostSheetTest : public HostFormatTest {
protected:
    // Sheet 2 of three is protected by "secret" and holds B2:C3.
    QString openProtected()
    {
        WorkbookContent content = WorkbookContent::withSheets({u"Open"_s, u"Locked"_s, u"End"_s});
        support::SheetContent& locked = content.sheets[1];
        locked.isProtected = true;
        locked.password = u"secret"_s;
        locked.setCell(2, 2, CellContent::ofText(u"hidden away"_s));
        locked.setCell(3, 3, CellContent::ofNumber(42));
        return open(fileName(u"protected"_s), content);
    }
};

TEST_P(HostSheetTest, ListsSheetsInOrderWithNamesAndVisibility)
{
    WorkbookContent content = WorkbookContent::withSheets({u"First"_s, u"隠し"_s, u"Third one"_s});
    content.sheets[1].visible = false;
    const QString book = open(fileName(u"sheets"_s), content);
    host::SpreadsheetHost& host = sharedHost();

    ASSERT_EQ(host.sheetCount(book), 3);
    EXPECT_EQ(host.sheetName(book, 1), u"First"_s);
    EXPECT_EQ(host.sheetName(book, 2), u"隠し"_s);
    EXPECT_EQ(host.sheetName(book, 3), u"Third one"_s);
    EXPECT_TRUE(host.isSheetVisible(book, 1));
    EXPECT_FALSE(host.isSheetVisible(book, 2));
    EXPECT_TRUE(host.isSheetVisible(book, 3));
}

// A hidden workbook opens on its first sheet, whichever sheet its file had active: the runs
// always activate the sheets they want.
TEST_P(HostSheetTest, AWorkbookOpensOnItsFirstSheetUntilAnotherIsActivated)
{
    WorkbookContent content = WorkbookContent::withSheets({u"A"_s, u"B"_s, u"C"_s});
    content.activeSheet = 2;
    const QString book = open(fileName(u"active"_s), content);
    host::SpreadsheetHost& host = sharedHost();

    EXPECT_EQ(host.activeSheet(book), 1);
    host.activateSheet(book, 3);
    EXPECT_EQ(host.activeSheet(book), 3);
    host.activateSheet(book, 1);
    EXPECT_EQ(host.activeSheet(book), 1);
}

TEST_P(HostSheetTest, LastUsedCellIsTheCornerOfTheUsedArea)
{
    WorkbookContent content = WorkbookContent::withSheets({u"Empty"_s, u"Spread"_s, u"Single"_s});
    content.sheets[1].setCell(3, 2, CellContent::ofNumber(1));
    content.sheets[1].setCell(5, 1, CellContent::ofText(u"bottom"_s));
    content.sheets[1].setCell(2, 4, CellContent::ofText(u"right"_s));
    content.sheets[2].setCell(7, 3, CellContent::ofNumber(0));
    const QString book = open(fileName(u"extent"_s), content);
    host::SpreadsheetHost& host = sharedHost();

    EXPECT_EQ(host.lastUsedCell(book, 1), (CellPosition{1, 1}));
    EXPECT_EQ(host.lastUsedCell(book, 2), (CellPosition{5, 4}));
    EXPECT_EQ(host.lastUsedCell(book, 3), (CellPosition{7, 3}));
}

TEST_P(HostSheetTest, ExtentOfAProtectedSheetCannotBeRead)
{
    const QString book = openProtected();
    host::SpreadsheetHost& host = sharedHost();

    EXPECT_FALSE(host.isSheetProtected(book, 1));
    EXPECT_TRUE(host.isSheetProtected(book, 2));
    EXPECT_EQ(thrownKind([&] { host.lastUsedCell(book, 2); }), HostError::Kind::SheetProtected);
    EXPECT_EQ(host.lastUsedCell(book, 1), (CellPosition{1, 1}));
}

TEST_P(HostSheetTest, WrongPasswordIsRefusedAndKeepsTheProtection)
{
    const QString book = openProtected();
    host::SpreadsheetHost& host = sharedHost();

    EXPECT_EQ(thrownKind([&] { host.unprotectSheet(book, 2, u"Secret"_s); }),
              HostError::Kind::WrongPassword);
    EXPECT_EQ(thrownKind([&] { host.unprotectSheet(book, 2, QString()); }),
              HostError::Kind::WrongPassword);
    EXPECT_TRUE(host.isSheetProtected(book, 2));
    EXPECT_EQ(thrownKind([&] { host.lastUsedCell(book, 2); }), HostError::Kind::SheetProtected);
}

TEST_P(HostSheetTest, RightPasswordUnprotectsTheSheetForReading)
{
    const QString book = openProtected();
    host::SpreadsheetHost& host = sharedHost();

    host.unprotectSheet(book, 2, u"secret"_s);
    EXPECT_FALSE(host.isSheetProtected(book, 2));
    EXPECT_EQ(host.lastUsedCell(book, 2), (CellPosition{3, 3}));
    EXPECT_EQ(host.rangeTexts(book, 2, {{2, 2}, {3, 3}}, host::CellTextKind::Value),
              QList<QStringList>({{u"hidden away"_s, QString()}, {QString(), u"42"_s}}));
}

TEST_P(HostSheetTest, RenamesASheet)
{
    const QString book = open(fileName(u"rename"_s), WorkbookContent::withSheets({u"A"_s, u"B"_s}));
    host::SpreadsheetHost& host = sharedHost();

    host.setSheetName(book, 2, u"変更履歴 2"_s);
    EXPECT_EQ(host.sheetName(book, 2), u"変更履歴 2"_s);
    host.setSheetName(book, 1, u"A"_s); // its own name again
    EXPECT_EQ(host.sheetName(book, 1), u"A"_s);
}

TEST_P(HostSheetTest, RefusedSheetNamesThrowNameRefusedAndKeepTheOldName)
{
    const QString book =
        open(fileName(u"refused"_s), WorkbookContent::withSheets({u"Keep"_s, u"Other"_s}));
    host::SpreadsheetHost& host = sharedHost();

    const QStringList refused = {QString(), u"a/b"_s, u"a\\b"_s,  u"what?"_s,   u"star*"_s,
                                 u"[x]"_s,  u"a:b"_s, u"Other"_s, u"'quoted'"_s};
    for (const QString& name : refused) {
        EXPECT_EQ(thrownKind([&] { host.setSheetName(book, 1, name); }),
                  HostError::Kind::NameRefused)
            << name.toStdString();
        EXPECT_EQ(host.sheetName(book, 1), u"Keep"_s);
    }
}

TEST_P(HostSheetTest, DeletesASheetByName)
{
    const QString book =
        open(fileName(u"delete"_s), WorkbookContent::withSheets({u"A"_s, u"B"_s, u"C"_s}));
    host::SpreadsheetHost& host = sharedHost();

    host.deleteSheet(book, u"B"_s);
    ASSERT_EQ(host.sheetCount(book), 2);
    EXPECT_EQ(host.sheetName(book, 1), u"A"_s);
    EXPECT_EQ(host.sheetName(book, 2), u"C"_s);

    EXPECT_EQ(thrownKind([&] { host.deleteSheet(book, u"B"_s); }), HostError::Kind::NotFound);
    EXPECT_EQ(host.sheetCount(book), 2);
}

TEST_P(HostSheetTest, TheOnlySheetCannotBeDeleted)
{
    const QString book = open(fileName(u"only"_s), WorkbookContent::withSheets({u"Only"_s}));
    host::SpreadsheetHost& host = sharedHost();

    EXPECT_THROW(host.deleteSheet(book, u"Only"_s), HostError);
    EXPECT_EQ(host.sheetCount(book), 1);
    EXPECT_EQ(host.sheetName(book, 1), u"Only"_s);
}

INSTANTIATE_TEST_SUITE_P(Formats, HostSheetTest, ::testing::ValuesIn(workbookFormats()),
                         formatName);

} // namespace
} // namespace brelix::contract
