#include "core/print/PrintRun.h"

#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "ScriptedRunUi.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::HostError;
using brelix::host::PageRange;
using brelix::run::MessageAnswer;
using brelix::run::MessageButtons;
using brelix::run::MessageIcon;
using brelix::run::RunMessage;
using brelix::support::InMemoryHost;
using brelix::support::InMemoryHostFactory;
using brelix::support::ScriptedRunUi;
using brelix::support::WorkbookContent;

namespace brelix::print {
namespace {

const QString kFolder = u"/data/帳票"_s;
const RunMessage kDone{u"印刷が完了しました"_s, u"印刷完了通知"_s};
const RunMessage kNothingSelected{u"対象ファイルを選択して下さい"_s, u"選択無し"_s};

// A folder of workbooks in the in-memory office, the print screen's list over it, and what
// the run asked of the screen.
class PrintRunTest : public ::testing::Test {
protected:
    // Registers the workbooks and lists them, every one selected.
    void list(const QStringList& names, const WorkbookContent& content = fourSheets())
    {
        QList<bool> selected;
        for (const QString& name : names) {
            m_factory.addFile(kFolder + u'/' + name, content);
            selected.append(true);
        }
        m_request.entries = listedEntries(kFolder, names, selected);
    }
    static WorkbookContent fourSheets()
    {
        WorkbookContent book = WorkbookContent::withSheets({u"表紙"_s, u"一"_s, u"二"_s, u"三"_s});
        book.activeSheet = 3; // saved on another sheet than the first
        return book;
    }
    PrintOutcome run(std::optional<PrintScope> scope = PrintScope::AllSheetsAllPages)
    {
        m_request.scope = scope;
        m_request.updateFolderHistory = [this] { ++m_historyUpdates; };
        m_request.setMainWindowEnabled = [this](bool enabled) {
            m_window.append(u"%1 after %2"_s.arg(enabled ? u"enabled"_s : u"disabled"_s)
                                .arg(m_ui.calls().value(m_ui.calls().size() - 1)));
        };
        return PrintRun(m_factory, m_ui).start(m_request);
    }
    InMemoryHost& office() { return m_factory.lastHost(); }
    // The calls that open, print and close workbooks, in order.
    QStringList printCalls()
    {
        QStringList calls;
        for (const QString& call : office().calls())
            for (const char* kind :
                 {"openWorkbook", "activateSheet", "sheetCount", "print", "closeAllWorkbooks"})
                if (call.startsWith(QLatin1String(kind)))
                    calls.append(call);
        return calls;
    }
    QStringList openedFiles()
    {
        QStringList opened;
        for (const QString& call : office().calls())
            if (call.startsWith(u"openWorkbook("_s))
                opened.append(call.mid(13).chopped(1).section(u'/', -1));
        return opened;
    }
    static RunMessage question(const QString& text)
    {
        return {text, u"最終確認"_s, MessageIcon::Question, MessageButtons::YesNo};
    }

    InMemoryHostFactory m_factory;
    ScriptedRunUi m_ui;
    PrintRequest m_request;
    int m_historyUpdates = 0;
    QStringList m_window;
};

TEST_F(PrintRunTest, EachScopeMakesTheHostCallsOfItsRow)
{
    struct Case {
        PrintScope scope;
        QString question;
        QStringList calls;
    };
    const QString open = u"openWorkbook(/data/帳票/b.xls)"_s;
    const QString close = u"closeAllWorkbooks()"_s;
    const QList<Case> cases = {
        {PrintScope::AllSheetsAllPages,
         u"全シート、全ページを印刷しますが、宜しいですか？"_s,
         {open, u"printWorkbook(b.xls)"_s, close}},
        {PrintScope::FirstSheetAllPages,
         u"１シート、全ページを印刷しますが、宜しいですか？"_s,
         {open, u"activateSheet(b.xls,1)"_s, u"printSheet(b.xls,1,all)"_s, close}},
        {PrintScope::AllSheetsFirstPage,
         u"全シート、１ページを印刷しますが、宜しいですか？"_s,
         {open, u"sheetCount(b.xls)"_s, u"activateSheet(b.xls,1)"_s, u"printSheet(b.xls,1,1-1)"_s,
          u"activateSheet(b.xls,2)"_s, u"printSheet(b.xls,2,1-1)"_s, u"activateSheet(b.xls,3)"_s,
          u"printSheet(b.xls,3,1-1)"_s, u"activateSheet(b.xls,4)"_s, u"printSheet(b.xls,4,1-1)"_s,
          close}},
        {PrintScope::FirstSheetFirstPage,
         u"１シート、１ページを印刷しますが、宜しいですか？"_s,
         {open, u"activateSheet(b.xls,1)"_s, u"printSheet(b.xls,1,1-1)"_s, close}},
    };
    list({u"b.xls"_s});
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.scope));
        m_ui = ScriptedRunUi();
        const PrintOutcome outcome = run(c.scope);

        EXPECT_EQ(outcome.ending, PrintEnding::Finished);
        EXPECT_EQ(outcome.printed, 1);
        EXPECT_EQ(m_ui.messages(), QList<RunMessage>({question(c.question), kDone}));
        EXPECT_EQ(printCalls(), c.calls);
        // A hidden office, quit at the end.
        EXPECT_FALSE(office().isVisible());
        EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
        EXPECT_EQ(office().busyTimeout(), std::chrono::milliseconds(600000));
    }
    EXPECT_EQ(m_factory.startCount(), 4);
    const QList<support::PrintJob>& firstPages = m_factory.host(2).printJobs();
    ASSERT_EQ(firstPages.size(), 4);
    for (int sheet = 1; sheet <= 4; ++sheet) {
        EXPECT_EQ(firstPages[sheet - 1].sheet, sheet);
        ASSERT_TRUE(firstPages[sheet - 1].pages);
        EXPECT_EQ(firstPages[sheet - 1].pages->from, 1);
        EXPECT_EQ(firstPages[sheet - 1].pages->to, 1);
    }
}

TEST_F(PrintRunTest, TheScreenSeesQuestionProgressAndCompletionInOrder)
{
    list({u"a.xls"_s, u"skipped.xls"_s, u"c.xls"_s});
    m_request.entries[1].selected = false;

    run(PrintScope::FirstSheetFirstPage);

    EXPECT_EQ(m_ui.calls(),
              QStringList({u"message(最終確認|１シート、１ページを印刷しますが、宜しいですか？|"
                           u"Question)"_s,
                           u"windowTitled(Microsoft Excel)"_s, u"clearCancel"_s,
                           u"showProgress(Excel起動中)"_s, u"events"_s, u"caption(連続印刷中)"_s,
                           u"barVisible(1)"_s, u"cancelEnabled(1)"_s, u"events"_s, u"percent(50)"_s,
                           u"events"_s, u"percent(100)"_s, u"events"_s, u"closeProgress"_s,
                           u"message(印刷完了通知|印刷が完了しました|None)"_s}));
    // Disabled once the office is to start, enabled again before the last message.
    EXPECT_EQ(m_window, QStringList({u"disabled after windowTitled(Microsoft Excel)"_s,
                                     u"enabled after closeProgress"_s}));
    EXPECT_EQ(openedFiles(), QStringList({u"a.xls"_s, u"c.xls"_s}));
    EXPECT_EQ(m_historyUpdates, 1);
}

TEST_F(PrintRunTest, TheBarMovesInWholeStepsOfTheSelectedCount)
{
    QStringList three = {u"1.xls"_s, u"2.xls"_s, u"3.xls"_s};
    list(three);
    run();
    EXPECT_EQ(m_ui.percents(), QList<int>({33, 66, 99}));

    QStringList many;
    for (int i = 1; i <= 101; ++i)
        many.append(u"%1.xls"_s.arg(i));
    list(many, WorkbookContent::withSheets({u"S"_s}));
    m_ui = ScriptedRunUi();
    const PrintOutcome outcome = run();
    EXPECT_EQ(m_ui.percents(), QList<int>(101, 0));
    EXPECT_EQ(outcome.printed, 101);
    EXPECT_EQ(office().printJobs().size(), 101);
}

TEST_F(PrintRunTest, NoToTheQuestionPrintsNothingButTheFolderHistoryHasMoved)
{
    list({u"a.xls"_s});
    m_ui.setAnswer(MessageAnswer::No);

    const PrintOutcome outcome = run(PrintScope::AllSheetsFirstPage);

    EXPECT_EQ(outcome.ending, PrintEnding::Declined);
    EXPECT_EQ(m_historyUpdates, 1);
    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_EQ(m_ui.messages(),
              QList<RunMessage>({question(u"全シート、１ページを印刷しますが、宜しいですか？"_s)}));
    EXPECT_TRUE(m_window.isEmpty());
}

TEST_F(PrintRunTest, WithoutAScopeNothingVisibleHappens)
{
    list({u"a.xls"_s});
    const PrintOutcome outcome = run(std::nullopt);
    EXPECT_EQ(outcome.ending, PrintEnding::NoScope);
    EXPECT_TRUE(m_ui.calls().isEmpty());
    EXPECT_TRUE(m_window.isEmpty());
    EXPECT_EQ(m_factory.startCount(), 0);
}

TEST_F(PrintRunTest, AnEmptyListOrNoSelectionIsRefusedAndOnlyTheSecondMovesTheHistory)
{
    const PrintOutcome empty = run();
    EXPECT_EQ(empty.ending, PrintEnding::NothingSelected);
    EXPECT_EQ(m_ui.messages(), QList<RunMessage>({kNothingSelected}));
    EXPECT_EQ(m_historyUpdates, 0);

    list({u"a.xls"_s, u"b.xls"_s});
    m_request.entries[0].selected = false;
    m_request.entries[1].selected = false;
    m_ui = ScriptedRunUi();
    const PrintOutcome unselected = run();
    EXPECT_EQ(unselected.ending, PrintEnding::NothingSelected);
    EXPECT_EQ(m_ui.messages(), QList<RunMessage>({kNothingSelected}));
    EXPECT_EQ(m_historyUpdates, 1);
    EXPECT_EQ(m_factory.startCount(), 0);
}

TEST_F(PrintRunTest, AnOpenSpreadsheetWindowRefusesAfterTheQuestion)
{
    list({u"a.xls"_s});
    m_ui.setWindowTitles({u"Book1 - microsoft excel"_s});

    const PrintOutcome outcome = run();

    EXPECT_EQ(outcome.ending, PrintEnding::OfficeOpen);
    EXPECT_EQ(m_ui.messages().size(), 2);
    EXPECT_EQ(m_ui.messages().value(1), (RunMessage{u"Excelを終了してから実行して下さい"_s,
                                                    u"Excel起動中"_s, MessageIcon::Exclamation}));
    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_TRUE(m_window.isEmpty());
}

TEST_F(PrintRunTest, CancelDuringTheThirdOfFiveFinishesItAndOpensNoMore)
{
    list({u"1.xls"_s, u"2.xls"_s, u"3.xls"_s, u"4.xls"_s, u"5.xls"_s});
    // Events: progress shown, office started, then one after each workbook.
    m_ui.cancelAtEvent(5);

    const PrintOutcome outcome = run();

    EXPECT_EQ(outcome.ending, PrintEnding::Cancelled);
    EXPECT_EQ(outcome.printed, 3);
    EXPECT_EQ(openedFiles(), QStringList({u"1.xls"_s, u"2.xls"_s, u"3.xls"_s}));
    EXPECT_EQ(office().calls().filter(u"closeAllWorkbooks"_s).size(), 3);
    EXPECT_EQ(m_ui.percents(), QList<int>({20, 40, 60}));
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
    EXPECT_EQ(m_ui.messages().last(), kDone);
    EXPECT_EQ(m_window.last(), u"enabled after closeProgress"_s);
}

TEST_F(PrintRunTest, CancelBetweenSheetsLeavesTheRestOfTheWorkbookAndTheOtherFiles)
{
    list({u"1.xls"_s, u"2.xls"_s});
    // Events: progress shown, office started, then one after each sheet.
    m_ui.cancelAtEvent(4);

    const PrintOutcome outcome = run(PrintScope::AllSheetsFirstPage);

    EXPECT_EQ(outcome.ending, PrintEnding::Cancelled);
    EXPECT_EQ(office().printJobs().size(), 2);
    EXPECT_EQ(openedFiles(), QStringList({u"1.xls"_s}));
    EXPECT_EQ(office().calls().filter(u"closeAllWorkbooks"_s).size(), 1);
    EXPECT_EQ(m_ui.percents(), QList<int>({50}));
    EXPECT_EQ(m_ui.messages().last(), kDone);
}

TEST_F(PrintRunTest, FilesThatDidNotPrintAreNamedInTheCompletionMessage)
{
    list({u"good.xls"_s, u"broken.xls"_s, u"jammed.xls"_s, u"last.xls"_s});
    m_request.entries.insert(1, {u"gone.xls"_s, kFolder + u"/gone.xls"_s, true});
    m_factory.onStart([](InMemoryHost& host) {
        // The fourth sheet of broken.xls and the whole of jammed.xls.
        host.failOn(u"printSheet"_s, 8, HostError::Kind::PrintFailed);
        host.failOn(u"printSheet"_s, 9, HostError::Kind::PrintFailed);
    });

    const PrintOutcome outcome = run(PrintScope::AllSheetsFirstPage);

    EXPECT_EQ(outcome.ending, PrintEnding::Finished);
    EXPECT_EQ(outcome.printed, 2);
    ASSERT_EQ(outcome.failures.size(), 3);
    EXPECT_EQ(outcome.failures[0].name, u"gone.xls"_s);
    EXPECT_EQ(outcome.failures[1].name, u"broken.xls"_s);
    EXPECT_EQ(outcome.failures[2].name, u"jammed.xls"_s);
    EXPECT_FALSE(outcome.failures[0].reason.isEmpty());
    // A failed sheet does not stop the other sheets of its workbook.
    EXPECT_EQ(office().printJobs().size(), 4 + 3 + 3 + 4);
    EXPECT_EQ(office().calls().filter(u"closeAllWorkbooks"_s).size(), 5);
    EXPECT_EQ(m_ui.percents(), QList<int>({20, 40, 60, 80, 100}));
    EXPECT_EQ(m_ui.messages().last(),
              (RunMessage{u"印刷が完了しました\r\n\r\n印刷できなかったファイル：\r\n"
                          u"gone.xls\r\nbroken.xls\r\njammed.xls"_s,
                          u"印刷完了通知"_s}));
}

TEST_F(PrintRunTest, AnOfficeThatDoesNotStartFailsEveryFileAndTheRunStillEnds)
{
    list({u"a.xls"_s, u"b.xls"_s});
    m_factory.setFailStart(true);

    const PrintOutcome outcome = run();

    EXPECT_EQ(outcome.ending, PrintEnding::Finished);
    EXPECT_EQ(outcome.printed, 0);
    EXPECT_EQ(outcome.failures.size(), 2);
    EXPECT_EQ(m_ui.percents(), QList<int>({50, 100}));
    EXPECT_EQ(m_ui.messages().last().text,
              u"印刷が完了しました\r\n\r\n印刷できなかったファイル：\r\na.xls\r\nb.xls"_s);
    EXPECT_EQ(m_window.last(), u"enabled after closeProgress"_s);
}

TEST_F(PrintRunTest, AnOfficeThatDiesMidRunFailsTheRestAndIsStillEnded)
{
    list({u"a.xls"_s, u"b.xls"_s, u"c.xls"_s});
    m_factory.onStart([](InMemoryHost& host) {
        host.failOn(u"printWorkbook"_s, 2, HostError::Kind::Unavailable);
    });

    const PrintOutcome outcome = run();

    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(outcome.failures.size(), 2);
    EXPECT_TRUE(office().calls().contains(u"quit()"_s));
    EXPECT_EQ(m_ui.messages().last().title, u"印刷完了通知"_s);
}

TEST(PrintEntriesTest, ListedNamesBecomeFilesOfTheFolderWithTheirSelection)
{
    EXPECT_EQ(listedEntries(u"/"_s, {u"売上.xls"_s, u"b.xls"_s}, {true}),
              QList<PrintEntry>(
                  {{u"売上.xls"_s, u"/売上.xls"_s, true}, {u"b.xls"_s, u"/b.xls"_s, false}}));
    EXPECT_EQ(listedEntries(u"/home/a"_s, {u"c.csv"_s}, {false, true}),
              QList<PrintEntry>({{u"c.csv"_s, u"/home/a/c.csv"_s, false}}));
}

} // namespace
} // namespace brelix::print
