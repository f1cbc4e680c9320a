#include "HostContractTest.h"

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellPosition;
using brelix::host::CellTextKind;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

class HostWriteTest : public HostFormatTest {
protected:
    QString openBlank()
    {
        return open(fileName(u"write"_s), WorkbookContent::withSheets({u"S"_s}));
    }
};

TEST_P(HostWriteTest, WrittenNumbersAreNumbersAndTextsStayText)
{
    const QString book = openBlank();
    host::SpreadsheetHost& host = sharedHost();

    host.writeRows(book, 1, 2, 3,
                   {
                       {7, 0.1 + 0.2, -2.5e-7, u"=1+1"_s},
                       {u"0001"_s, u"日本, \"語\"\n次"_s},
                   });

    EXPECT_EQ(host.rangeTexts(book, 1, {{2, 3}, {3, 6}}, CellTextKind::Value),
              QList<QStringList>({{u"7"_s, u"0.3"_s, u"-2.5E-07"_s, u"=1+1"_s},
                                  {u"0001"_s, u"日本, \"語\"\n次"_s, QString(), QString()}}));
    EXPECT_EQ(host.cellText(book, 1, 2, 6, CellTextKind::Formula), u"=1+1"_s);
    EXPECT_EQ(host.lastUsedCell(book, 1), (CellPosition{3, 6}));
}

TEST_P(HostWriteTest, NullValuesEmptyTheirCells)
{
    WorkbookContent content = WorkbookContent::withSheets({u"S"_s});
    for (int column = 1; column <= 3; ++column)
        content.sheets[0].setCell(1, column, CellContent::ofText(u"old"_s));
    const QString book = open(fileName(u"nulls"_s), content);
    host::SpreadsheetHost& host = sharedHost();

    host.writeRows(book, 1, 1, 1, {{QVariant(), u"new"_s}});
    host.setCellValue(book, 1, 1, 3, QVariant());

    EXPECT_EQ(host.rangeTexts(book, 1, {{1, 1}, {1, 3}}, CellTextKind::Formula),
              QList<QStringList>({{QString(), u"new"_s, QString()}}));
    EXPECT_EQ(host.lastUsedCell(book, 1), (CellPosition{1, 2}));
}

TEST_P(HostWriteTest, SetCellValueWritesOneCell)
{
    const QString book = openBlank();
    host::SpreadsheetHost& host = sharedHost();

    host.setCellValue(book, 1, 4, 2, 12345678);
    host.setCellValue(book, 1, 4, 3, u"=A1"_s);
    host.setCellValue(book, 1, 5, 2, 0.5);

    EXPECT_EQ(host.cellText(book, 1, 4, 2, CellTextKind::Value), u"12345678"_s);
    EXPECT_EQ(host.cellText(book, 1, 4, 3, CellTextKind::Value), u"=A1"_s);
    EXPECT_EQ(host.cellText(book, 1, 4, 3, CellTextKind::Formula), u"=A1"_s);
    EXPECT_EQ(host.cellText(book, 1, 5, 2, CellTextKind::Value), u"0.5"_s);
    EXPECT_EQ(host.lastUsedCell(book, 1), (CellPosition{5, 3}));
}

INSTANTIATE_TEST_SUITE_P(Formats, HostWriteTest, ::testing::ValuesIn(workbookFormats()),
                         formatName);

} // namespace
} // namespace brelix::contract
