#include "core/search/SearchRun.h"

#include "GTestPrinters.h"
#include "GridWorkbooks.h"
#include "InMemoryHostFactory.h"
#include "ScriptedRunUi.h"
#include "core/search/HitFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::run::MessageIcon;
using brelix::support::gridSheet;
using brelix::support::InMemoryHost;
using brelix::support::InMemoryHostFactory;
using brelix::support::ScriptedRunUi;
using brelix::support::SheetContent;
using brelix::support::WorkbookContent;
using brelix::support::workbookOf;

namespace brelix::search {
namespace {

SheetContent sheetWith(const QString& name, const QList<std::tuple<int, int, QString>>& texts)
{
    SheetContent sheet;
    sheet.name = name;
    for (const auto& [row, column, text] : texts)
        sheet.setCell(row, column, CellContent::ofText(text));
    return sheet;
}

// Selected workbooks, the template, the output and the hit file in a folder of their own; the
// files exist on disk for the run's checks and in the in-memory office's file table.
class SearchRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkbookContent templ = WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s});
        templ.sheets[0].setCell(1, 1, CellContent::ofText(u"No"_s));
        for (int c = 1; c <= 6; ++c)
            templ.sheets[1].setCell(1, c, CellContent::ofText(u"見出し%1"_s.arg(c)));
        m_settings.templatePath = put(u"Brelix_Format.xls"_s, templ);
        m_settings.outputPath = path(u"Brelix.xls"_s);
        m_settings.hitFilePath = path(u"Brelix.grp"_s);
        m_settings.searchText = u"abc"_s;
    }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    QString put(const QString& name, const WorkbookContent& content)
    {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
        m_factory.addFile(path(name), content);
        return path(name);
    }
    // A selected workbook, in list order.
    void select(const QString& name, const WorkbookContent& content)
    {
        put(name, content);
        m_settings.targets.append({name, path(name)});
    }
    SearchOutcome run()
    {
        // The run copies the template over the output on disk; the office's table follows.
        m_factory.addFile(m_settings.outputPath, *m_factory.savedContent(m_settings.templatePath));
        return SearchRun(m_factory, m_ui, m_password).start(m_settings, [this] { ++m_accepted; });
    }
    InMemoryHost& office() { return m_factory.lastHost(); }
    SheetContent results()
    {
        return m_factory.savedContent(m_settings.outputPath)->sheets.value(0);
    }
    QStringList resultRow(int row)
    {
        const SheetContent sheet = results();
        QStringList texts;
        for (int c = 1; c <= 6; ++c)
            texts.append(sheet.cell(row, c).text);
        return texts;
    }
    QStringList titles() const
    {
        QStringList list;
        for (const auto& m : m_ui.messages())
            list.append(m.title);
        return list;
    }
    int callsStartingWith(const QString& prefix)
    {
        int count = 0;
        for (int i = 0; i < m_factory.startCount(); ++i)
            for (const QString& call : m_factory.host(i).calls())
                count += call.startsWith(prefix) ? 1 : 0;
        return count;
    }

    QTemporaryDir m_dir;
    InMemoryHostFactory m_factory;
    ScriptedRunUi m_ui;
    QString m_password;
    SearchSettings m_settings;
    int m_accepted = 0;
};

TEST_F(SearchRunTest, IgnoringCaseFindsEveryFormAndRecordsItUpperCased)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"ABC"_s},
                                                      {1, 2, u"Abc"_s},
                                                      {2, 1, u"ab c"_s},
                                                      {2, 2, u"xabcx"_s},
                                                      {3, 1, u"abc abc"_s}})}));

    const SearchOutcome outcome = run();

    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    EXPECT_EQ(outcome.hits, QList<HitRecord>({{1, u"a.xls"_s, u"S"_s, 1, u"A1"_s, u"ABC"_s},
                                              {2, u"a.xls"_s, u"S"_s, 1, u"B1"_s, u"ABC"_s},
                                              {3, u"a.xls"_s, u"S"_s, 1, u"B2"_s, u"XABCX"_s},
                                              {4, u"a.xls"_s, u"S"_s, 1, u"A3"_s, u"ABC ABC"_s}}));
    EXPECT_EQ(resultRow(5),
              QStringList({u"4"_s, u"a.xls"_s, u"S"_s, u"1"_s, u"A3"_s, u"ABC ABC"_s}));

    m_settings.caseSensitive = true;
    m_settings.searchText = u"  abc "_s; // the blanks around it are not searched
    const SearchOutcome sensitive = run();
    ASSERT_EQ(sensitive.hits.size(), 2);
    EXPECT_EQ(sensitive.hits[0].text, u"xabcx"_s);
    EXPECT_EQ(sensitive.hits[1].address, u"A3"_s);
    EXPECT_EQ(m_accepted, 2);
}

TEST_F(SearchRunTest, ResultsListHitsAcrossWorkbooksAndOpenTheWorkbooksThatHaveThem)
{
    m_settings.toolBarRows = 2;
    select(u"a.xls"_s, workbookOf({sheetWith(u"one"_s, {{1, 1, u"abc"_s}, {2, 1, u"abc"_s}}),
                                   sheetWith(u"two"_s, {{12, 28, u"abc"_s}})}));
    select(u"b.xls"_s, workbookOf({sheetWith(u"none"_s, {{1, 1, u"xyz"_s}})}));
    select(u"c.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 52, u"abc"_s}, {3, 26, u"abc"_s}})}));

    const SearchOutcome outcome = run();

    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    QStringList numbers, addresses;
    for (int row = 2; row <= 6; ++row) {
        numbers.append(resultRow(row)[0]);
        addresses.append(resultRow(row)[4]);
    }
    EXPECT_EQ(numbers, QStringList({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s}));
    EXPECT_EQ(addresses, QStringList({u"A1"_s, u"A2"_s, u"AB12"_s, u"AZ1"_s, u"Z3"_s}));
    EXPECT_EQ(resultRow(4),
              QStringList({u"3"_s, u"a.xls"_s, u"two"_s, u"2"_s, u"AB12"_s, u"ABC"_s}));

    const SheetContent sheet = results();
    EXPECT_EQ(m_factory.savedContent(m_settings.outputPath)->sheets.size(), 1);
    EXPECT_EQ(sheet.name, u"Grep結果"_s);
    EXPECT_EQ(sheet.cell(1, 1).text, u"見出し1"_s);
    EXPECT_EQ(sheet.fill(2, 1), 6);
    EXPECT_EQ(sheet.fill(6, 1), 6);
    EXPECT_EQ(sheet.fill(6, 2), 0);
    EXPECT_TRUE(sheet.border(2, 1).top);
    EXPECT_TRUE(sheet.border(6, 6).bottom);
    EXPECT_FALSE(sheet.border(1, 1).bottom && sheet.border(1, 1).top);

    // One office for the whole search, handed over with the results above which the
    // workbooks with hits lie; b.xls has none and stays closed.
    EXPECT_EQ(m_factory.startCount(), 1);
    EXPECT_EQ(office().state(), InMemoryHost::State::HandedOver);
    EXPECT_TRUE(office().isVisible());
    EXPECT_EQ(office().openWorkbooks(), QStringList({u"Brelix.xls"_s, u"a.xls"_s, u"c.xls"_s}));
    const double h = InMemoryHost::ScreenHeight;
    const host::WindowGeometry strip = office().window(u"Brelix.xls"_s);
    EXPECT_EQ(strip.top, h - 143 - 39);
    EXPECT_EQ(strip.height, 128);
    const host::WindowGeometry book = office().window(u"c.xls"_s);
    EXPECT_EQ(book.top, 0);
    EXPECT_EQ(book.width, InMemoryHost::ScreenWidth);
    EXPECT_EQ(book.height, h - 146 - 39);
    EXPECT_EQ(office().workbook(u"a.xls"_s).activeSheet, 1);
    EXPECT_FALSE(QFile::exists(m_settings.hitFilePath));
    EXPECT_TRUE(m_ui.messages().isEmpty());
    EXPECT_TRUE(m_ui.captions().contains(u"検索中-F=3/3:c.xls:S=1/1"_s));
    EXPECT_EQ(m_ui.captions().last(), u"検索結果作成中"_s);
}

TEST_F(SearchRunTest, ASingleHitIsFilledWithoutBordersAndNoHitLeavesTheTemplate)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    run();
    EXPECT_EQ(results().fill(2, 1), 6);
    EXPECT_FALSE(results().border(2, 1).top);

    m_settings.searchText = u"nothing like it"_s;
    const SearchOutcome none = run();
    EXPECT_EQ(none.ending, SearchEnding::Finished);
    EXPECT_TRUE(none.hits.isEmpty());
    EXPECT_EQ(results().cell(2, 1).type, CellContent::Type::Empty);
    EXPECT_EQ(results().fill(2, 1), 0);
    EXPECT_EQ(office().state(), InMemoryHost::State::HandedOver);
}

TEST_F(SearchRunTest, TheCellLimitCountsEachWorkbookOnItsOwn)
{
    // 20000 cells: over the limit at its first sheet, so nothing of it is read.
    select(u"big.xls"_s, workbookOf({gridSheet(u"big"_s, 200, 100)}));
    // 10000 + 6382 cells: exactly the limit, searched whole.
    select(u"fits.xls"_s, workbookOf({gridSheet(u"a"_s, 100, 100), gridSheet(u"b"_s, 6382, 1)}));
    m_settings.searchText = u"100,"_s;

    SearchOutcome outcome = run();
    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    EXPECT_EQ(callsStartingWith(u"rangeTexts(big.xls"_s), 0);
    ASSERT_FALSE(outcome.hits.isEmpty());
    EXPECT_EQ(outcome.hits.first().fileName, u"fits.xls"_s);
    EXPECT_EQ(outcome.hits.last().sheetName, u"b"_s); // "100,1" in row 100 of the second sheet
    EXPECT_TRUE(m_ui.messages().isEmpty());

    // One more cell in a third sheet puts the last workbook over: the notice follows the hits.
    m_settings.targets.clear();
    select(u"over.xls"_s, workbookOf({gridSheet(u"a"_s, 100, 100), gridSheet(u"b"_s, 6382, 1),
                                      sheetWith(u"c"_s, {{1, 1, u"abc"_s}})}));
    outcome = run();
    EXPECT_EQ(outcome.ending, SearchEnding::CutShort);
    const int notice = static_cast<int>(outcome.hits.size()) + 2;
    EXPECT_EQ(results().cell(notice, 2).text,
              u"ファイルが大きすぎて、全て検索できませんでした。"_s);
    EXPECT_EQ(results().cell(notice + 1, 2).text, u"以下のシートまでは検索できました"_s);
    EXPECT_EQ(results().cell(notice + 2, 2).text, u"シートNo=2  /  シート名=b"_s);
    EXPECT_EQ(results().fill(notice, 1), 0);
    ASSERT_EQ(m_ui.messages().size(), 1);
    EXPECT_EQ(
        m_ui.messages()[0],
        (run::RunMessage{u"ファイルが大きすぎて、全て検索できませんでした\r\n\r\n"
                         u"以下のシートまでは検索できました\r\nシートNo=2  /  シート名=b"_s,
                         u"比較中止"_s, MessageIcon::Exclamation, run::MessageButtons::Ok, true}));

    // An earlier workbook over the limit followed by one within it: no notice.
    m_settings.targets.append({u"fits.xls"_s, path(u"fits.xls"_s)});
    EXPECT_EQ(run().ending, SearchEnding::Finished);
}

TEST_F(SearchRunTest, ProgressNamesWorkbookAndSheetAndGrowsRowByRow)
{
    select(u"a.xls"_s, workbookOf({gridSheet(u"x"_s, 1, 1)}));
    select(u"sales.xls"_s, workbookOf({gridSheet(u"one"_s, 3, 2), gridSheet(u"two"_s, 1, 1)}));

    run();

    EXPECT_EQ(m_ui.captions().mid(0, 4),
              QStringList({u"Excel起動中"_s, u"検索中-F=1/2:a.xls:S=1/1"_s,
                           u"検索中-F=2/2:sales.xls:S=1/2"_s, u"検索中-F=2/2:sales.xls:S=2/2"_s}));
    EXPECT_EQ(m_ui.percents(), QList<int>({100, 33, 67, 100, 100}));
}

TEST_F(SearchRunTest, CancelInTheSecondSheetReadsNothingMoreAndBuildsNoResults)
{
    QList<SheetContent> sheets;
    for (int s = 1; s <= 5; ++s)
        sheets.append(
            sheetWith(u"S%1"_s.arg(s), {{1, 1, u"abc"_s}, {2, 1, u"x"_s}, {3, 2, u"y"_s}}));
    select(u"five.xls"_s, workbookOf(sheets));
    select(u"later.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    // Events: after the window shows, after cancel is enabled, after each extent, each row.
    // Sheet 1 takes events 3 to 6; event 8 is the first row of sheet 2.
    m_ui.cancelAtEvent(8);

    const SearchOutcome outcome = run();

    EXPECT_EQ(outcome.ending, SearchEnding::Cancelled);
    EXPECT_EQ(outcome.hits.size(), 1);
    EXPECT_EQ(callsStartingWith(u"rangeTexts(five.xls,1,"_s), 1);
    for (int s = 2; s <= 5; ++s) {
        EXPECT_EQ(callsStartingWith(u"rangeTexts(five.xls,%1,"_s.arg(s)), 0) << s;
        EXPECT_EQ(callsStartingWith(u"lastUsedCell(five.xls,%1)"_s.arg(s)), 1) << s;
    }
    EXPECT_EQ(callsStartingWith(u"openWorkbook("_s + path(u"later.xls"_s)), 0);
    EXPECT_EQ(callsStartingWith(u"openWorkbook("_s + m_settings.outputPath), 0);
    ASSERT_EQ(m_ui.messages().size(), 1);
    EXPECT_EQ(m_ui.messages()[0].text, u"検索を中止しました"_s);
    EXPECT_EQ(m_ui.messages()[0].title, u"ユーザ中止要求"_s);
    EXPECT_EQ(m_ui.messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
    EXPECT_FALSE(QFile::exists(m_settings.hitFilePath));
    EXPECT_TRUE(QFile::exists(m_settings.outputPath)); // the unfilled copy of the template
}

TEST_F(SearchRunTest, AProtectedSheetWithoutItsPasswordEndsTheRun)
{
    SheetContent locked = sheetWith(u"L"_s, {{1, 1, u"abc"_s}});
    locked.isProtected = true;
    locked.password = u"pw"_s;
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}}), locked}));

    const SearchOutcome outcome = run();

    EXPECT_EQ(outcome.ending, SearchEnding::PasswordFailed);
    ASSERT_EQ(m_ui.messages().size(), 1);
    EXPECT_EQ(m_ui.messages()[0].text, u"検索を中止しました\r\nSheet のパスワードエラーです"_s);
    EXPECT_EQ(m_ui.messages()[0].title, u"ユーザ中止要求"_s);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
    EXPECT_FALSE(QFile::exists(m_settings.hitFilePath));

    // With the password the sheet is searched.
    m_ui.answerPasswords({u"pw"_s});
    EXPECT_EQ(run().hits.size(), 2);
}

TEST_F(SearchRunTest, AProgramStartedWithArgumentsKeepsTheHitFileAfterEveryEnding)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}, {2, 1, u"abc"_s}})}));
    m_settings.keepHitFile = true;

    run();
    ASSERT_TRUE(QFile::exists(m_settings.hitFilePath));
    EXPECT_EQ(HitFile::read(m_settings.hitFilePath).size(), 2);

    QFile::remove(m_settings.hitFilePath);
    m_ui.cancelAtEvent(m_ui.eventCount() + 4); // the first row
    EXPECT_EQ(run().ending, SearchEnding::Cancelled);
    EXPECT_TRUE(QFile::exists(m_settings.hitFilePath));
}

TEST_F(SearchRunTest, CommasQuotesAndLineBreaksSurviveTheHitFile)
{
    const QString file = u"q1, \"final\".xls"_s;
    const QString sheetName = u"a,b"_s;
    const QString text = u"abc, \"x\"\nnext line"_s;
    select(file, workbookOf({sheetWith(sheetName, {{2, 3, text}})}));
    m_settings.caseSensitive = true;

    run();

    EXPECT_EQ(resultRow(2), QStringList({u"1"_s, file, sheetName, u"1"_s, u"C2"_s, text}));
    EXPECT_TRUE(office().openWorkbooks().contains(file));
}

TEST_F(SearchRunTest, RefusalsStartNothing)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));

    m_settings.searchText = u"   "_s;
    EXPECT_EQ(run().ending, SearchEnding::EmptyText);
    EXPECT_EQ(m_accepted, 0); // the histories stay as they were

    m_settings.searchText = u"abc"_s;
    m_ui.setWindowTitles({u"Book1 - MICROSOFT EXCEL"_s});
    EXPECT_EQ(run().ending, SearchEnding::OfficeOpen);
    m_ui.setWindowTitles({});

    const QList<SearchTarget> targets = m_settings.targets;
    m_settings.targets.clear();
    EXPECT_EQ(run().ending, SearchEnding::NoSelection);
    m_settings.targets = targets;

    QFile::remove(m_settings.templatePath);
    EXPECT_EQ(run().ending, SearchEnding::MissingTemplate);

    EXPECT_EQ(m_accepted, 3);
    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_FALSE(QFile::exists(m_settings.hitFilePath));
    ASSERT_EQ(m_ui.messages().size(), 4);
    EXPECT_EQ(m_ui.messages()[0],
              (run::RunMessage{u"検索文字を入れてよ"_s, u"検索中止"_s, MessageIcon::Information}));
    EXPECT_EQ(m_ui.messages()[1].text, u"Excelを終了してから実行して下さい"_s);
    EXPECT_EQ(m_ui.messages()[2], (run::RunMessage{u"対象ファイルを選択して下さい"_s, u"選択無し"_s,
                                                   MessageIcon::None}));
    EXPECT_EQ(m_ui.messages()[3], (run::RunMessage{u"Brelix_Format.xls がありません"_s,
                                                   u"実行不可能"_s, MessageIcon::Exclamation}));
}

TEST_F(SearchRunTest, FilesTheOfficeCannotOpenAreSkippedAndNamedAtTheEnd)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    m_settings.targets.append({u"gone.xls"_s, path(u"gone.xls"_s)});
    select(u"c.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));

    const SearchOutcome outcome = run();

    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    EXPECT_EQ(outcome.hits.size(), 2);
    EXPECT_EQ(outcome.skippedFiles, QStringList({u"gone.xls"_s}));
    ASSERT_EQ(m_ui.messages().size(), 1);
    EXPECT_TRUE(m_ui.messages()[0].text.endsWith(u"\r\n\r\ngone.xls"_s));
    EXPECT_FALSE(m_ui.calls().join(u'|').contains(u"password("_s));
    EXPECT_EQ(office().state(), InMemoryHost::State::HandedOver);
}

TEST_F(SearchRunTest, AnOfficeThatDiesIsReplacedForTheNextWorkbook)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    select(u"b.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    int started = 0;
    m_factory.onStart([&started](InMemoryHost& host) {
        if (++started == 1)
            host.failOn(u"rangeTexts"_s, 1, host::HostError::Kind::Unavailable);
    });

    const SearchOutcome outcome = run();

    // a.xls could not be read in the first office; b.xls and the results had a second one.
    EXPECT_EQ(outcome.skippedFiles, QStringList({u"a.xls"_s}));
    EXPECT_EQ(m_factory.startCount(), 2);
    EXPECT_EQ(m_factory.host(1).state(), InMemoryHost::State::HandedOver);
    EXPECT_EQ(outcome.hits.size(), 1);
    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
}

} // namespace
} // namespace brelix::search
