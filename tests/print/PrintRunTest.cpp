#include "core/print/PrintRun.h"

#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "ScriptedRunUi.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::HostError;
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

RunMessage question(const QString& scope)
{
    return {scope + u"を印刷しますが、宜しいですか？"_s, u"最終確認"_s, MessageIcon::Question,
            MessageButtons::YesNo};
}

// A folder of workbooks in the in-memory office, the print screen's list over it, and what
// the run asked of the screen.
class PrintRunTest : public ::testing::Test {
protected:
    // Registers the workbooks, of four sheets saved on the third unless told, and lists them.
    void list(const QStringList& names, int sheets = 4, bool selected = true)
    {
        WorkbookContent book = WorkbookContent::withSheets(
            QStringList({u"表紙"_s, u"一"_s, u"二"_s, u"三"_s}).mid(0, sheets));
        book.activeSheet = sheets;
        for (const QString& name : names)
            m_factory.addFile(kFolder + u'/' + name, book);
        m_request.entries = listedEntries(kFolder, names, QList<bool>(names.size(), selected));
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
    // The calls that open, print and close workbooks, in order, without the folder.
    QStringList printCalls()
    {
        QStringList calls;
        for (const QString& call : office().calls())
            for (const char* kind :
                 {"openWorkbook", "activateSheet", "sheetCount", "print", "closeAllWorkbooks"})
                if (call.startsWith(QLatin1String(kind)))
                    calls.append(QString(call).remove(kFolder + u'/'));
        return calls;
    }

    InMemoryHostFactory m_factory;
    ScriptedRunUi m_ui;
    PrintRequest m_request;
    int m_historyUpdates = 0;
    QStringList m_window;
};

TEST_F(PrintRunTest, EachScopeMakesTheHostCallsOfItsRow)
{
    const QString open = u"openWorkbook(b.xls)"_s, close = u"closeAllWorkbooks()"_s;
    const QList<std::tuple<PrintScope, QString, QStringList>> cases = {
        {PrintScope::AllSheetsAllPages,
         u"全シート、全ページ"_s,
         {open, u"printWorkbook(b.xls)"_s, close}},
        {PrintScope::FirstSheetAllPages,
         u"１シート、全ページ"_s,
         {open, u"activateSheet(b.xls,1)"_s, u"printSheet(b.xls,1,all)"_s, close}},
        {PrintScope::AllSheetsFirstPage,
         u"全シート、１ページ"_s,
         {open, u"sheetCount(b.xls)"_s, u"activateSheet(b.xls,1)"_s, u"printSheet(b.xls,1,1-1)"_s,
          u"activateSheet(b.xls,2)"_s, u"printSheet(b.xls,2,1-1)"_s, u"activateSheet(b.xls,3)"_s,
          u"printSheet(b.xls,3,1-1)"_s, u"activateSheet(b.xls,4)"_s, u"printSheet(b.xls,4,1-1)"_s,
          close}},
        {PrintScope::FirstSheetFirstPage,
         u"１シート、１ページ"_s,
         {open, u"activateSheet(b.xls,1)"_s, u"printSheet(b.xls,1,1-1)"_s, close}},
    };
    list({u"b.xls"_s});
    for (const auto& [scope, asked, calls] : cases) {
        SCOPED_TRACE(static_cast<int>(scope));
        m_ui = ScriptedRunUi();
        const PrintOutcome outcome = run(scope);
        EXPECT_EQ(outcome.ending, PrintEnding::Finished);
        EXPECT_EQ(outcome.printed, 1);
        EXPECT_EQ(m_ui.messages(), QList<RunMessage>({question(asked), kDone}));
        EXPECT_EQ(printCalls(), calls);
        EXPECT_FALSE(office().isVisible());
        EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
        EXPECT_EQ(office().busyTimeout(), std::chrono::milliseconds(600000));
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
    EXPECT_EQ(printCalls().filter(u"open"_s),
              QStringList({u"openWorkbook(a.xls)"_s, u"openWorkbook(c.xls)"_s}));
    EXPECT_EQ(m_historyUpdates, 1);

    // The bar moves in whole steps: three files show 33, 66, 99; more than 100 stay at 0.
    QStringList many;
    for (int i = 1; i <= 101; ++i)
        many.append(u"%1.xls"_s.arg(i));
    list(many.mid(0, 3), 1);
    m_ui = ScriptedRunUi();
    run();
    EXPECT_EQ(m_ui.percents(), QList<int>({33, 66, 99}));
    list(many, 1);
    m_ui = ScriptedRunUi();
    EXPECT_EQ(run().printed, 101);
    EXPECT_EQ(m_ui.percents(), QList<int>(101, 0));
}

TEST_F(PrintRunTest, RefusalsAndTheQuestionStartNoOffice)
{
    struct Case {
        std::function<void()> arrange;
        std::optional<PrintScope> scope;
        PrintEnding ending;
        QList<RunMessage> messages;
        int historyUpdates;
    };
    const RunMessage officeOpen{u"Excelを終了してから実行して下さい"_s, u"Excel起動中"_s,
                                MessageIcon::Exclamation};
    const PrintScope all = PrintScope::AllSheetsAllPages;
    const QList<Case> cases = {
        {[] {}, all, PrintEnding::NothingSelected, {kNothingSelected}, 0},
        {[&] {
             list({u"a.xls"_s, u"b.xls"_s}, 4, false);
         },
         all,
         PrintEnding::NothingSelected,
         {kNothingSelected},
         1},
        {[&] { list({u"a.xls"_s}); }, std::nullopt, PrintEnding::NoScope, {}, 1},
        {[&] {
             list({u"a.xls"_s});
             m_ui.setAnswer(MessageAnswer::No);
         },
         all,
         PrintEnding::Declined,
         {question(u"全シート、全ページ"_s)},
         1},
        {[&] {
             list({u"a.xls"_s});
             m_ui.setWindowTitles({u"Book1 - microsoft excel"_s});
         },
         all,
         PrintEnding::OfficeOpen,
         {question(u"全シート、全ページ"_s), officeOpen},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.ending));
        m_request.entries.clear();
        m_historyUpdates = 0;
        m_ui = ScriptedRunUi();
        c.arrange();
        EXPECT_EQ(run(c.scope).ending, c.ending);
        EXPECT_EQ(m_ui.messages(), c.messages);
        EXPECT_EQ(m_historyUpdates, c.historyUpdates);
    }
    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_TRUE(m_window.isEmpty());
}

TEST_F(PrintRunTest, CancelLetsTheWorkbookOrSheetInHandFinishAndOpensNoMore)
{
    // Events: progress shown, office started, then one after each workbook.
    list({u"1.xls"_s, u"2.xls"_s, u"3.xls"_s, u"4.xls"_s, u"5.xls"_s});
    m_ui.cancelAtEvent(5);
    PrintOutcome outcome = run();
    EXPECT_EQ(outcome.ending, PrintEnding::Cancelled);
    EXPECT_EQ(outcome.printed, 3);
    EXPECT_EQ(printCalls().filter(u"closeAll"_s).size(), 3);
    EXPECT_EQ(m_ui.percents(), QList<int>({20, 40, 60}));
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
    EXPECT_EQ(m_ui.messages().last(), kDone);
    EXPECT_EQ(m_window.last(), u"enabled after closeProgress"_s);

    // Events: progress shown, office started, then one after each sheet.
    list({u"1.xls"_s, u"2.xls"_s});
    m_ui = ScriptedRunUi();
    m_ui.cancelAtEvent(4);
    outcome = run(PrintScope::AllSheetsFirstPage);
    EXPECT_EQ(outcome.ending, PrintEnding::Cancelled);
    EXPECT_EQ(printCalls().filter(u"print"_s).size(), 2);
    EXPECT_EQ(printCalls().filter(u"open"_s), QStringList({u"openWorkbook(1.xls)"_s}));
    EXPECT_EQ(m_ui.percents(), QList<int>({50}));
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
    const QString failed = u"印刷が完了しました\r\n\r\n印刷できなかったファイル：\r\n"_s;

    PrintOutcome outcome = run(PrintScope::AllSheetsFirstPage);
    EXPECT_EQ(outcome.ending, PrintEnding::Finished);
    EXPECT_EQ(outcome.printed, 2);
    ASSERT_EQ(outcome.failures.size(), 3);
    EXPECT_EQ(outcome.failures[2], (PrintFailure{u"jammed.xls"_s, u"printSheet failed (use 9)"_s}));
    // A failed sheet does not stop the other sheets of its workbook.
    EXPECT_EQ(office().printJobs().size(), 4 + 3 + 3 + 4);
    EXPECT_EQ(printCalls().filter(u"closeAll"_s).size(), 5);
    EXPECT_EQ(m_ui.messages().last(),
              (RunMessage{failed + u"gone.xls\r\nbroken.xls\r\njammed.xls"_s, u"印刷完了通知"_s}));

    // An office that dies fails the rest; one that does not start fails every file.
    list({u"a.xls"_s, u"b.xls"_s, u"c.xls"_s});
    m_factory.onStart([](InMemoryHost& host) {
        host.failOn(u"printWorkbook"_s, 2, HostError::Kind::Unavailable);
    });
    outcome = run();
    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(m_ui.messages().last().text, failed + u"b.xls\r\nc.xls"_s);
    EXPECT_EQ(office().calls().last(), u"quit()"_s);
    m_factory.setFailStart(true);
    m_ui = ScriptedRunUi();
    outcome = run();
    EXPECT_EQ(outcome.ending, PrintEnding::Finished);
    EXPECT_EQ(outcome.printed, 0);
    EXPECT_EQ(m_ui.percents(), QList<int>({33, 66, 99}));
    EXPECT_EQ(m_ui.messages().last().text, failed + u"a.xls\r\nb.xls\r\nc.xls"_s);
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
