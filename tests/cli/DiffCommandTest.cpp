#include "cli/DiffCommand.h"

#include "CommandRun.h"
#include "GTestPrinters.h"
#include "GridWorkbooks.h"
#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::support::InMemoryHost;
using brelix::support::SheetContent;
using brelix::support::WorkbookContent;

namespace brelix::cli {
namespace {

// Two workbooks, the template and the output in a folder that is the program's folder; the
// files exist on disk for the checks and in the in-memory file table for the office.
class DiffCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkbookContent templ = WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s});
        put(u"Brelix_Format.xls"_s, templ);
        put(u"Brelix.xls"_s, templ);
    }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    void put(const QString& name, const WorkbookContent& content)
    {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        m_factory.addFile(path(name), content);
    }
    void books(const WorkbookContent& first, const WorkbookContent& second)
    {
        put(u"Book1.xls"_s, first);
        put(u"Book2.xls"_s, second);
    }

    // "brelix-cli diff Book1.xls Book2.xls OPTIONS" from the folder of the workbooks.
    int run(const QStringList& options)
    {
        return runWith(QStringList{u"Book1.xls"_s, u"Book2.xls"_s} + options);
    }
    int runWith(const QStringList& arguments)
    {
        // The run copies the template over the output on disk; the office's table follows.
        if (const auto templ = m_factory.savedContent(path(u"Brelix_Format.xls"_s)))
            m_factory.addFile(path(u"Brelix.xls"_s), *templ);
        auto command = std::make_unique<DiffCommand>(
            [this](bool show) -> host::SpreadsheetHostFactory& {
                m_shows.append(show);
                return m_factory;
            },
            false);
        return runCommandIn(m_dir.path(), std::move(command), arguments, m_out, m_err);
    }

    QStringList outLines() const { return m_out.split(u'\n', Qt::SkipEmptyParts); }
    InMemoryHost& office() { return m_factory.lastHost(); }

    support::TemporaryProgramFolder m_dir;
    support::InMemoryHostFactory m_factory;
    QList<bool> m_shows;
    QString m_out;
    QString m_err;
};

using support::gridSheet;
using support::workbookOf;

WorkbookContent protectedBook(const SheetContent& sheet, const QString& password)
{
    WorkbookContent book = workbookOf({sheet});
    book.sheets[0].isProtected = true;
    book.sheets[0].password = password;
    return book;
}

// --- what is printed and the exit status of a comparison that ran --------------------------

TEST_F(DiffCommandTest, EachDifferenceIsOneEscapedLineAndDifferencesExitWithOne)
{
    SheetContent second = gridSheet(u"売上\t月"_s, 2, 2, {{2, 1}});
    second.setCell(1, 2, CellContent::ofText(u"C:\\dir\r\nnext"_s));
    books(workbookOf({gridSheet(u"売上\t月"_s, 2, 2), gridSheet(u"経費"_s, 1, 1)}),
          workbookOf({second, gridSheet(u"経費"_s, 1, 1, {{1, 1}})}));

    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(outLines(), QStringList({
                              u"1\t売上\\t月\t1\tB1\t1,2\tC:\\\\dir\\r\\nnext"_s,
                              u"2\t売上\\t月\t1\tA2\t2,1\tchanged"_s,
                              u"3\t経費\t2\tA1\t1,1\tchanged"_s,
                          }));
    EXPECT_EQ(m_err, QString());
    // Relative names reach the office made absolute; the history is the program folder's.
    EXPECT_TRUE(office().calls().contains(u"openWorkbook(%1)"_s.arg(path(u"Book1.xls"_s))));
    EXPECT_EQ(m_factory.savedContent(path(u"Brelix.xls"_s))->sheets[0].name,
              u"変更履歴　Book1-Book2"_s);
    EXPECT_EQ(m_shows, QList<bool>({false}));
}

TEST_F(DiffCommandTest, IdenticalWorkbooksExitWithZeroAndPrintNothing)
{
    books(workbookOf({gridSheet(u"S"_s, 3, 3)}), workbookOf({gridSheet(u"S"_s, 3, 3)}));
    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(m_out, QString());
    EXPECT_EQ(m_err, QString());
}

TEST_F(DiffCommandTest, AComparisonCutShortByItsBudgetCountsAsDifferent)
{
    // Too large to compare at all: no record, yet not "no difference".
    books(workbookOf({gridSheet(u"S"_s, 100, 100)}), workbookOf({gridSheet(u"S"_s, 1, 1)}));
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(m_out, QString());
    EXPECT_EQ(m_err, u"比較中止: ファイルが大きすぎて、ぜんぜん比較できませんでした\n"_s);
}

// --- refusals and aborts: exit 2 with the run's message -----------------------------------

TEST_F(DiffCommandTest, RefusalsExitWithTwoBeforeAnyOfficeStarts)
{
    books(workbookOf({gridSheet(u"S"_s, 1, 1)}), workbookOf({gridSheet(u"S"_s, 1, 1, {{1, 1}})}));
    QDir(m_dir.path()).mkdir(u"other"_s);
    QFile::copy(path(u"Book1.xls"_s), path(u"other/book1.XLS"_s));

    EXPECT_EQ(runWith({u"Book1.xls"_s, u"other/book1.XLS"_s}), 2);
    EXPECT_EQ(m_err, u"実行中止: 同一ファイル名は比較できません\n\n"
                     u"どちらかのファイル名を変更してから、比較を実行して下さい\n"_s);

    EXPECT_EQ(run({u"--from"_s, u"3"_s, u"--to"_s, u"2"_s}), 2);
    EXPECT_EQ(m_err, u"指定シートエラー: 指定シートの設定が異常です\n"_s);

    EXPECT_EQ(runWith({u"Book1.xls"_s, u"missing.xls"_s}), 2);
    EXPECT_EQ(m_err, u"指定エラー: 対象ファイルを選択して下さい\n"_s);

    QFile::remove(path(u"Brelix_Format.xls"_s));
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(m_err, u"実行不可能: Brelix_Format.xls がありません\n"_s);

    EXPECT_EQ(m_out, QString());
    EXPECT_EQ(m_factory.startCount(), 0);
}

TEST_F(DiffCommandTest, AbortedRunsExitWithTwoAndLeaveNoOfficeRunning)
{
    books(workbookOf({gridSheet(u"A"_s, 1, 1), gridSheet(u"B"_s, 1, 1)}),
          workbookOf({gridSheet(u"A"_s, 1, 1)}));
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(m_err, u"シート数不一致: ｄｉｆｆを中止しました\nシートが不一致です\n"_s);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);

    books(workbookOf({gridSheet(u"A"_s, 1, 1)}), workbookOf({gridSheet(u"A"_s, 1, 1, {{1, 1}})}));
    EXPECT_EQ(run({u"--from=2"_s}), 2);
    EXPECT_EQ(m_err, u"指定シートエラー: 比較開始シートが全シート数より大きいです\n"_s);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
}

TEST_F(DiffCommandTest, AFailureExitsWithTwoAndTheWholeReportOnStderr)
{
    books(workbookOf({gridSheet(u"S"_s, 2, 2)}), workbookOf({gridSheet(u"S"_s, 2, 2, {{1, 1}})}));
    m_factory.onStart([](InMemoryHost& h) { h.failOn(u"rangeTexts"_s, 1); });

    EXPECT_EQ(run({}), 2);
    EXPECT_FALSE(m_err.contains(u'\r'));
    const QStringList lines = m_err.split(u'\n');
    EXPECT_GT(lines.size(), 25);
    EXPECT_TRUE(lines.contains(u"Name1= Book1.xls"_s)) << m_err.toStdString();
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
}

TEST_F(DiffCommandTest, CtrlCStopsTheRunAsCancelDoesAndTheOldHandlerReturns)
{
    static int outsidePresses = 0;
    outsidePresses = 0;
    const auto previous = std::signal(SIGINT, [](int) { ++outsidePresses; });
    books(workbookOf({gridSheet(u"S"_s, 2, 2)}), workbookOf({gridSheet(u"S"_s, 2, 2, {{1, 1}})}));
    m_factory.onStart([](InMemoryHost&) { std::raise(SIGINT); });

    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(m_err, u"ユーザ中止要求: ｄｉｆｆを中止しました\n"_s);
    EXPECT_EQ(outsidePresses, 0);
    std::raise(SIGINT);
    EXPECT_EQ(outsidePresses, 1);
    std::signal(SIGINT, previous);
}

// --- passwords -------------------------------------------------------------------------------

TEST_F(DiffCommandTest, ThePasswordAnswersEveryPrompt)
{
    books(protectedBook(gridSheet(u"S"_s, 2, 2), u"pw"_s),
          protectedBook(gridSheet(u"S"_s, 2, 2, {{2, 2}}), u"pw"_s));

    EXPECT_EQ(run({u"--password"_s, u"pw"_s}), 1);
    EXPECT_EQ(outLines(), QStringList({u"1\tS\t1\tB2\t2,2\tchanged"_s}));
    EXPECT_EQ(m_err, QString());
}

TEST_F(DiffCommandTest, AWrongOrMissingPasswordStopsTheRun)
{
    books(protectedBook(gridSheet(u"S"_s, 2, 2), u"pw"_s),
          workbookOf({gridSheet(u"S"_s, 2, 2, {{2, 2}})}));
    const QString stopped =
        u"ユーザ中止要求: ｄｉｆｆを中止しました\nSheet のパスワードエラーです\n"_s;

    EXPECT_EQ(run({u"--password=wrong"_s}), 2);
    EXPECT_EQ(m_err, stopped);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);

    EXPECT_EQ(run({}), 2);
    EXPECT_TRUE(m_err.startsWith(u"brelix-cli: Book1.xls has a protected sheet"_s));
    EXPECT_TRUE(m_err.endsWith(stopped));
    EXPECT_EQ(m_out, QString());
}

// --- options reach the run ----------------------------------------------------------------

TEST_F(DiffCommandTest, FormulasCompareFormulaTexts)
{
    WorkbookContent first = workbookOf({gridSheet(u"S"_s, 1, 1)});
    WorkbookContent second = first;
    CellContent sum = CellContent::ofNumber(2);
    sum.formula = u"=1+1"_s;
    first.sheets[0].setCell(1, 1, CellContent::ofNumber(2));
    second.sheets[0].setCell(1, 1, sum);
    books(first, second);

    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(run({u"--formulas"_s}), 1);
    EXPECT_EQ(m_out, u"1\tS\t1\tA1\t2\t=1+1\n"_s);
}

TEST_F(DiffCommandTest, NoColorLeavesTheWorkbooksUnfilled)
{
    books(workbookOf({gridSheet(u"S"_s, 2, 2)}), workbookOf({gridSheet(u"S"_s, 2, 2, {{2, 2}})}));
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(office().workbook(u"Book1.xls"_s).sheets[0].fill(2, 2), 7);
    EXPECT_EQ(office().workbook(u"Book2.xls"_s).sheets[0].fill(2, 2), 7);

    EXPECT_EQ(run({u"--no-color"_s}), 1);
    EXPECT_TRUE(office().workbook(u"Book1.xls"_s).sheets[0].fills.empty());
    EXPECT_TRUE(office().workbook(u"Book2.xls"_s).sheets[0].fills.empty());
}

TEST_F(DiffCommandTest, TheLayoutChoosesTheWindowArrangement)
{
    books(workbookOf({gridSheet(u"S"_s, 1, 1)}), workbookOf({gridSheet(u"S"_s, 1, 1)}));
    const QString openOutput = u"openWorkbook(%1)"_s.arg(path(u"Brelix.xls"_s));
    struct Case {
        QStringList options;
        QString arrangement;
        bool afterOutputOpens;
    };
    const QList<Case> cases = {
        {{}, u"arrangeWindows(SideBySide)"_s, false},
        {{u"--layout"_s, u"0"_s}, u"arrangeWindows(SideBySide)"_s, false},
        {{u"--layout"_s, u"1"_s}, u"arrangeWindows(SideBySide)"_s, true},
        {{u"--layout=2"_s}, u"arrangeWindows(Stacked)"_s, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        EXPECT_EQ(run(c.options), 0);
        const QStringList& calls = office().calls();
        const qsizetype arranged = calls.indexOf(c.arrangement);
        ASSERT_GE(arranged, 0);
        EXPECT_EQ(arranged > calls.indexOf(openOutput), c.afterOutputOpens);
    }
}

TEST_F(DiffCommandTest, ShowAsksForAnOfficeThatCanBeHandedOver)
{
    books(workbookOf({gridSheet(u"S"_s, 1, 1)}), workbookOf({gridSheet(u"S"_s, 1, 1, {{1, 1}})}));
    EXPECT_EQ(run({u"--show"_s}), 1);
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(m_shows, QList<bool>({true, false}));
}

// --- usage ----------------------------------------------------------------------------------

TEST_F(DiffCommandTest, UsageErrorsExitWithTwoAndTheUsageBeforeAnythingStarts)
{
    books(workbookOf({gridSheet(u"S"_s, 1, 1)}), workbookOf({gridSheet(u"S"_s, 1, 1)}));
    const QList<QStringList> wrong = {
        {u"Book1.xls"_s},
        {u"Book1.xls"_s, u"Book2.xls"_s, u"Book3.xls"_s},
        {u"Book1.xls"_s, u"Book2.xls"_s, u"--layout"_s, u"3"_s},
        {u"Book1.xls"_s, u"Book2.xls"_s, u"--layout"_s, u"1x"_s},
        {u"Book1.xls"_s, u"Book2.xls"_s, u"--from"_s},
        {u"Book1.xls"_s, u"Book2.xls"_s, u"--colour"_s},
    };
    for (const QStringList& arguments : wrong) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        EXPECT_EQ(runWith(arguments), 2);
        EXPECT_TRUE(m_err.startsWith(u"brelix-cli diff: "_s));
        EXPECT_TRUE(m_err.contains(u"Usage: brelix-cli diff FILE1 FILE2"_s));
    }
    EXPECT_TRUE(m_shows.isEmpty());
}

TEST_F(DiffCommandTest, HelpDescribesEveryOptionAndTheCommandIsListed)
{
    EXPECT_EQ(runWith({u"--help"_s}), 0);
    for (const QString& option : {u"--formulas"_s, u"--from N"_s, u"--to N"_s, u"--no-color"_s,
                                  u"--layout 0|1|2"_s, u"--password PW"_s, u"--show"_s})
        EXPECT_TRUE(m_out.contains(u"\n  "_s + option + u' ')) << option.toStdString();
    EXPECT_TRUE(m_out.contains(u"\nExit status: 0 when no difference"_s));

    CliApplication cli;
    cli.addCommand(std::make_unique<DiffCommand>(
        [this](bool) -> host::SpreadsheetHostFactory& { return m_factory; }, false));
    QString listed;
    QTextStream out(&listed);
    QTextStream err(&m_err);
    EXPECT_EQ(cli.run({u"brelix-cli"_s, u"--help"_s}, out, err), 0);
    EXPECT_TRUE(listed.contains(u"  diff "_s));
}

} // namespace
} // namespace brelix::cli
