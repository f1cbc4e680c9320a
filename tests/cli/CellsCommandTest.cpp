#include "cli/CellsCommand.h"

#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "cli/CliApplication.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::HostError;
using brelix::support::InMemoryHost;
using brelix::support::WorkbookContent;

namespace brelix::cli {
namespace {

class CellsCommandTest : public ::testing::Test {
protected:
    // Runs "brelix-cli cells ARGUMENTS" and keeps what it printed.
    int run(const QStringList& arguments)
    {
        CliApplication cli;
        cli.addCommand(std::make_unique<CellsCommand>(m_factory));
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        return cli.run(QStringList{u"brelix-cli"_s, u"cells"_s} + arguments, out, err);
    }

    QStringList outLines() const { return m_out.split(u'\n', Qt::SkipEmptyParts); }

    // Sheets: "Data" with cells, hidden "Notes", "Locked" protected by "pw", an empty "Blank".
    void addSample(const QString& path)
    {
        WorkbookContent book =
            WorkbookContent::withSheets({u"Data"_s, u"Notes"_s, u"Locked"_s, u"Blank"_s});
        support::SheetContent& data = book.sheets[0];
        data.setCell(1, 1, CellContent::ofText(u"name"_s));
        data.setCell(1, 3, CellContent::ofText(u"日本"_s));
        data.setCell(2, 2, CellContent::ofNumber(1.5));
        CellContent sum = CellContent::ofNumber(3);
        sum.formula = u"=SUM(B2:B2)*2"_s;
        data.setCell(3, 1, sum);
        data.setCell(3, 2, CellContent::ofText(QString())); // empty text: not listed
        book.sheets[1].visible = false;
        book.sheets[1].setCell(2, 1, CellContent::ofBoolean(true));
        book.sheets[2].isProtected = true;
        book.sheets[2].password = u"pw"_s;
        book.sheets[2].setCell(1, 2, CellContent::ofText(u"secret"_s));
        m_factory.addFile(path, book);
    }

    support::InMemoryHostFactory m_factory;
    QString m_out;
    QString m_err;
};

TEST_F(CellsCommandTest, ListsEverySheetWithItsNonEmptyCellsRowByRow)
{
    addSample(u"/data/book.xls"_s);

    EXPECT_EQ(run({u"/data/book.xls"_s}), 0);
    EXPECT_EQ(outLines(), QStringList({
                              u"#sheet\t1\tData\tvisible\t3\t3"_s,
                              u"A1\tname"_s,
                              u"C1\t日本"_s,
                              u"B2\t1.5"_s,
                              u"A3\t3"_s,
                              u"#sheet\t2\tNotes\thidden\t2\t1"_s,
                              u"A2\tTRUE"_s,
                              u"#sheet\t3\tLocked\tvisible\t-\t-\tprotected"_s,
                              u"#sheet\t4\tBlank\tvisible\t1\t1"_s,
                          }));
    EXPECT_EQ(m_err, QString());
    EXPECT_EQ(m_factory.lastHost().state(), InMemoryHost::State::Quit);
}

TEST_F(CellsCommandTest, FormulasOptionListsFormulaTexts)
{
    addSample(u"/data/book.xls"_s);

    EXPECT_EQ(run({u"--formulas"_s, u"/data/book.xls"_s}), 0);
    const QStringList lines = outLines();
    EXPECT_TRUE(lines.contains(u"A3\t=SUM(B2:B2)*2"_s));
    EXPECT_TRUE(lines.contains(u"B2\t1.5"_s));
}

TEST_F(CellsCommandTest, EscapesBackslashTabAndLineBreaksInTextsAndNames)
{
    WorkbookContent book = WorkbookContent::withSheets({u"a\tb"_s});
    book.sheets[0].setCell(1, 1, CellContent::ofText(u"C:\\dir\ttab\r\nnext\\n"_s));
    m_factory.addFile(u"/data/escape.xlsx"_s, book);

    EXPECT_EQ(run({u"/data/escape.xlsx"_s}), 0);
    EXPECT_EQ(m_out, u"#sheet\t1\ta\\tb\tvisible\t1\t1\nA1\tC:\\\\dir\\ttab\\r\\nnext\\\\n\n"_s);
}

TEST_F(CellsCommandTest, ReadsTheUsedAreaInRowBlocks)
{
    WorkbookContent book = WorkbookContent::withSheets({u"Long"_s});
    for (int row = 1; row <= 600; ++row)
        book.sheets[0].setCell(row, 2, CellContent::ofNumber(row));
    m_factory.addFile(u"/data/long.ods"_s, book);

    EXPECT_EQ(run({u"/data/long.ods"_s}), 0);
    EXPECT_EQ(outLines().size(), 601);
    EXPECT_EQ(outLines().last(), u"B600\t600"_s);
    const QStringList reads = m_factory.lastHost().calls().filter(u"Texts("_s);
    EXPECT_EQ(reads, QStringList({u"rangeTexts(long.ods,1,A1:B256,Value)"_s,
                                  u"rangeTexts(long.ods,1,A257:B512,Value)"_s,
                                  u"rangeTexts(long.ods,1,A513:B600,Value)"_s}));
    EXPECT_TRUE(m_factory.lastHost().calls().filter(u"cellText("_s).isEmpty());
}

TEST_F(CellsCommandTest, TheRightPasswordListsAProtectedSheet)
{
    addSample(u"/data/book.xls"_s);

    EXPECT_EQ(run({u"/data/book.xls"_s, u"--password"_s, u"pw"_s}), 0);
    const QStringList lines = outLines();
    const qsizetype header = lines.indexOf(u"#sheet\t3\tLocked\tvisible\t1\t2\tprotected"_s);
    ASSERT_GE(header, 0) << m_out.toStdString();
    EXPECT_EQ(lines.value(header + 1), u"B1\tsecret"_s);
    EXPECT_EQ(m_err, QString());
}

TEST_F(CellsCommandTest, AWrongPasswordIsReportedAndTheSheetListedWithoutCells)
{
    addSample(u"/data/book.xls"_s);

    EXPECT_EQ(run({u"--password=nope"_s, u"/data/book.xls"_s}), 0);
    const QStringList lines = outLines();
    const qsizetype header = lines.indexOf(u"#sheet\t3\tLocked\tvisible\t-\t-\tprotected"_s);
    ASSERT_GE(header, 0) << m_out.toStdString();
    EXPECT_EQ(lines.value(header + 1), u"#sheet\t4\tBlank\tvisible\t1\t1"_s);
    EXPECT_EQ(m_err, u"brelix-cli: wrong password for sheet 3 (Locked)\n"_s);
}

TEST_F(CellsCommandTest, AFileThatCannotBeOpenedExitsWithTwoAndOneLine)
{
    EXPECT_EQ(run({u"/data/missing.xls"_s}), 2);
    EXPECT_EQ(m_out, QString());
    EXPECT_TRUE(m_err.startsWith(u"brelix-cli: cannot open /data/missing.xls: "_s));
    EXPECT_EQ(m_err.count(u'\n'), 1);
    EXPECT_EQ(m_factory.lastHost().state(), InMemoryHost::State::Quit);
}

TEST_F(CellsCommandTest, AHostFailureMidwayExitsWithOneAndStillQuits)
{
    addSample(u"/data/book.xls"_s);
    m_factory.onStart([](InMemoryHost& host) { host.failOn(u"rangeTexts"_s, 2); });

    EXPECT_EQ(run({u"/data/book.xls"_s}), 1);
    EXPECT_TRUE(m_out.startsWith(u"#sheet\t1\tData"_s));
    EXPECT_TRUE(m_err.startsWith(u"brelix-cli: rangeTexts failed"_s));
    EXPECT_EQ(m_factory.lastHost().state(), InMemoryHost::State::Quit);
}

TEST_F(CellsCommandTest, NoInstanceExitsWithOne)
{
    m_factory.setFailStart(true);
    EXPECT_EQ(run({u"/data/book.xls"_s}), 1);
    EXPECT_EQ(m_err.count(u'\n'), 1);
}

TEST_F(CellsCommandTest, UsageErrorsExitWithTwoBeforeStartingAnInstance)
{
    const QList<QStringList> bad = {
        {},
        {u"/a.xls"_s, u"/b.xls"_s},
        {u"--bogus"_s, u"/a.xls"_s},
        {u"/a.xls"_s, u"--password"_s},
    };
    for (const QStringList& arguments : bad) {
        m_err.clear();
        EXPECT_EQ(run(arguments), 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(m_err.contains(u"Usage: brelix-cli cells FILE"_s));
    }
    EXPECT_EQ(m_out, QString());
    EXPECT_EQ(m_factory.startCount(), 0);
}

TEST_F(CellsCommandTest, HelpDescribesTheProtectedSheetLines)
{
    EXPECT_EQ(run({u"--help"_s}), 0);
    EXPECT_TRUE(m_out.startsWith(u"Usage: brelix-cli cells FILE"_s));
    EXPECT_TRUE(m_out.contains(u"\"-\""_s));
    EXPECT_EQ(m_factory.startCount(), 0);
}

} // namespace
} // namespace brelix::cli
