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
using brelix::run::RunMessage;
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
        templ.sheets[1].setCell(1, 1, CellContent::ofText(u"No"_s));
        m_settings.templatePath = put(u"Brelix_Format.xls"_s, templ);
        m_settings.outputPath = path(u"Brelix.xls"_s);
        m_settings.hitFilePath = path(u"Brelix.grp"_s);
        m_settings.searchText = u"abc"_s;
    }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    QString put(const QString& name, const WorkbookContent& content)
    {
        QFile(path(name)).open(QIODevice::WriteOnly);
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
    SheetContent results() { return m_factory.savedContent(m_settings.outputPath)->sheets[0]; }
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

TEST_F(SearchRunTest, HitsIgnoreCaseUnlessToldAndTheBlanksAroundTheText)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"ABC"_s},
                                                      {1, 2, u"Abc"_s},
                                                      {2, 1, u"ab c"_s},
                                                      {2, 2, u"xabcx"_s},
                                                      {3, 1, u"abc abc"_s}})}));
    EXPECT_EQ(run().hits, QList<HitRecord>({{1, u"a.xls"_s, u"S"_s, 1, u"A1"_s, u"ABC"_s},
                                            {2, u"a.xls"_s, u"S"_s, 1, u"B1"_s, u"ABC"_s},
                                            {3, u"a.xls"_s, u"S"_s, 1, u"B2"_s, u"XABCX"_s},
                                            {4, u"a.xls"_s, u"S"_s, 1, u"A3"_s, u"ABC ABC"_s}}));
    m_settings.caseSensitive = true;
    m_settings.searchText = u"  abc "_s;
    const SearchOutcome sensitive = run();
    ASSERT_EQ(sensitive.hits.size(), 2);
    EXPECT_EQ(sensitive.hits[0].text, u"xabcx"_s);
    EXPECT_EQ(sensitive.hits[1].address, u"A3"_s);
    EXPECT_EQ(m_accepted, 2);
}

TEST_F(SearchRunTest, TheResultsListEveryHitBelowTheWorkbooksThatHaveThem)
{
    m_settings.toolBarRows = 2;
    select(u"a.xls"_s, workbookOf({sheetWith(u"one"_s, {{1, 1, u"abc"_s}, {2, 1, u"abc"_s}}),
                                   sheetWith(u"two"_s, {{12, 28, u"abc"_s}})}));
    select(u"b.xls"_s, workbookOf({sheetWith(u"none"_s, {{1, 1, u"xyz"_s}})}));
    select(u"q, \"x\".xls"_s, workbookOf({sheetWith(u"a,b"_s, {{1, 52, u"abc, \"x\"\nline"_s}})}));

    const SearchOutcome outcome = run();

    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    const SheetContent sheet = results();
    EXPECT_EQ(m_factory.savedContent(m_settings.outputPath)->sheets.size(), 1);
    EXPECT_EQ(sheet.name, u"Grep結果"_s);
    EXPECT_EQ(sheet.cell(1, 1).text, u"No"_s);
    QStringList rows;
    for (int r = 2; r <= 5; ++r) {
        QStringList row;
        for (int c = 1; c <= 6; ++c)
            row.append(sheet.cell(r, c).text);
        rows.append(row.join(u'|'));
    }
    EXPECT_EQ(rows, QStringList({u"1|a.xls|one|1|A1|ABC"_s, u"2|a.xls|one|1|A2|ABC"_s,
                                 u"3|a.xls|two|2|AB12|ABC"_s,
                                 u"4|q, \"x\".xls|a,b|1|AZ1|ABC, \"X\"\nLINE"_s}));
    EXPECT_EQ(sheet.fill(2, 1), 6);
    EXPECT_EQ(sheet.fill(5, 1), 6);
    EXPECT_EQ(sheet.fill(5, 2), 0);
    EXPECT_TRUE(sheet.border(2, 1).top);
    EXPECT_TRUE(sheet.border(5, 6).bottom);
    EXPECT_FALSE(sheet.border(6, 1).bottom);

    // One office for the whole search, handed over with the results strip below the
    // workbooks with hits; b.xls has none and stays closed.
    EXPECT_EQ(m_factory.startCount(), 1);
    EXPECT_EQ(office().state(), InMemoryHost::State::HandedOver);
    EXPECT_EQ(office().openWorkbooks(),
              QStringList({u"Brelix.xls"_s, u"a.xls"_s, u"q, \"x\".xls"_s}));
    const host::WindowGeometry strip = office().window(u"Brelix.xls"_s);
    EXPECT_EQ(strip.top, InMemoryHost::ScreenHeight - 143 - 39);
    EXPECT_EQ(strip.height, 128);
    const host::WindowGeometry book = office().window(u"a.xls"_s);
    EXPECT_EQ(book.top, 0);
    EXPECT_EQ(book.width, InMemoryHost::ScreenWidth);
    EXPECT_EQ(book.height, InMemoryHost::ScreenHeight - 146 - 39);
    EXPECT_EQ(office().workbook(u"a.xls"_s).activeSheet, 1);
    EXPECT_FALSE(QFile::exists(m_settings.hitFilePath));
    EXPECT_TRUE(m_ui.messages().isEmpty());
    EXPECT_EQ(m_ui.captions(),
              QStringList({u"Excel起動中"_s, u"検索中-F=1/3:a.xls:S=1/2"_s,
                           u"検索中-F=1/3:a.xls:S=2/2"_s, u"検索中-F=2/3:b.xls:S=1/1"_s,
                           u"検索中-F=3/3:q, \"x\".xls:S=1/1"_s, u"検索結果作成中"_s}));
}

TEST_F(SearchRunTest, ASingleHitIsFilledWithoutBordersAndNoHitLeavesTheTemplate)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    run();
    EXPECT_EQ(results().fill(2, 1), 6);
    EXPECT_FALSE(results().border(2, 1).top);

    m_settings.searchText = u"nothing like it"_s;
    EXPECT_EQ(run().ending, SearchEnding::Finished);
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
    const QString reached = u"以下のシートまでは検索できました"_s;
    const QString sheet = u"シートNo=2  /  シート名=b"_s;
    EXPECT_EQ(results().cell(notice, 2).text,
              u"ファイルが大きすぎて、全て検索できませんでした。"_s);
    EXPECT_EQ(results().cell(notice + 1, 2).text, reached);
    EXPECT_EQ(results().cell(notice + 2, 2).text, sheet);
    EXPECT_EQ(results().fill(notice, 1), 0);
    EXPECT_EQ(m_ui.messages(),
              QList<RunMessage>(
                  {{u"ファイルが大きすぎて、全て検索できませんでした\r\n\r\n"_s + reached +
                        u"\r\n"_s + sheet,
                    u"比較中止"_s, MessageIcon::Exclamation, run::MessageButtons::Ok, true}}));

    // An earlier workbook over the limit followed by one within it: no notice.
    m_settings.targets.append({u"fits.xls"_s, path(u"fits.xls"_s)});
    EXPECT_EQ(run().ending, SearchEnding::Finished);
}

TEST_F(SearchRunTest, CancelInTheSecondSheetReadsNothingMoreAndBuildsNoResults)
{
    QList<SheetContent> sheets;
    for (int s = 1; s <= 3; ++s)
        sheets.append(sheetWith(u"S%1"_s.arg(s), {{1, 1, u"abc"_s}, {3, 2, u"y"_s}}));
    select(u"three.xls"_s, workbookOf(sheets));
    select(u"later.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    m_settings.keepHitFile = true; // kept after every ending
    // Events: after the window shows, after cancel is enabled, after each extent, each row.
    // Sheet 1 takes events 3 to 6; event 8 is the first row of sheet 2.
    m_ui.cancelAtEvent(8);

    const SearchOutcome outcome = run();

    EXPECT_EQ(outcome.ending, SearchEnding::Cancelled);
    EXPECT_EQ(outcome.hits.size(), 1);
    EXPECT_EQ(callsStartingWith(u"rangeTexts(three.xls,1,"_s), 1);
    EXPECT_EQ(callsStartingWith(u"rangeTexts(three.xls,2,"_s), 0);
    EXPECT_EQ(callsStartingWith(u"lastUsedCell(three.xls,3)"_s), 1);
    EXPECT_EQ(callsStartingWith(u"openWorkbook("_s + path(u"later.xls"_s)), 0);
    EXPECT_EQ(callsStartingWith(u"openWorkbook("_s + m_settings.outputPath), 0);
    EXPECT_EQ(m_ui.messages(), QList<RunMessage>({{u"検索を中止しました"_s, u"ユーザ中止要求"_s,
                                                   MessageIcon::Information}}));
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
    EXPECT_EQ(HitFile::read(m_settings.hitFilePath).size(), 1);

    m_settings.keepHitFile = false;
    m_ui = ScriptedRunUi();
    m_ui.cancelAtEvent(4);
    EXPECT_EQ(run().ending, SearchEnding::Cancelled);
    EXPECT_FALSE(QFile::exists(m_settings.hitFilePath));
}

TEST_F(SearchRunTest, AProtectedSheetWithoutItsPasswordEndsTheRun)
{
    SheetContent locked = sheetWith(u"L"_s, {{1, 1, u"abc"_s}});
    locked.isProtected = true;
    locked.password = u"pw"_s;
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}}), locked}));

    EXPECT_EQ(run().ending, SearchEnding::PasswordFailed);
    EXPECT_EQ(m_ui.messages(),
              QList<RunMessage>({{u"検索を中止しました\r\nSheet のパスワードエラーです"_s,
                                  u"ユーザ中止要求"_s, MessageIcon::Information}}));
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
    EXPECT_FALSE(QFile::exists(m_settings.hitFilePath));

    m_ui.answerPasswords({u"pw"_s});
    EXPECT_EQ(run().hits.size(), 2);
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
    const QList<SearchTarget> targets = std::exchange(m_settings.targets, {});
    EXPECT_EQ(run().ending, SearchEnding::NoSelection);
    m_settings.targets = targets;
    QFile::remove(m_settings.templatePath);
    EXPECT_EQ(run().ending, SearchEnding::MissingTemplate);

    EXPECT_EQ(m_accepted, 3);
    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_FALSE(QFile::exists(m_settings.hitFilePath));
    EXPECT_EQ(
        m_ui.messages(),
        QList<RunMessage>(
            {{u"検索文字を入れてよ"_s, u"検索中止"_s, MessageIcon::Information},
             {u"Excelを終了してから実行して下さい"_s, u"Excel起動中"_s, MessageIcon::Exclamation},
             {u"対象ファイルを選択して下さい"_s, u"選択無し"_s, MessageIcon::None},
             {u"Brelix_Format.xls がありません"_s, u"実行不可能"_s, MessageIcon::Exclamation}}));
}

TEST_F(SearchRunTest, WorkbooksTheOfficeCannotOpenOrReadAreNamedAtTheEnd)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    m_settings.targets.append({u"gone.xls"_s, path(u"gone.xls"_s)});
    select(u"c.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    // The first office dies reading a.xls; gone.xls, c.xls and the results get a second one.
    m_factory.onStart([this](InMemoryHost& host) {
        if (m_factory.startCount() == 1)
            host.failOn(u"rangeTexts"_s, 1, host::HostError::Kind::Unavailable);
    });

    const SearchOutcome outcome = run();

    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    EXPECT_EQ(outcome.hits.size(), 1);
    EXPECT_EQ(outcome.skippedFiles, QStringList({u"a.xls"_s, u"gone.xls"_s}));
    EXPECT_EQ(m_factory.startCount(), 2);
    EXPECT_EQ(office().state(), InMemoryHost::State::HandedOver);
    EXPECT_EQ(m_ui.messages(),
              QList<RunMessage>({{u"次のファイルは開けないか読めないため、検索できませんでした"
                                  u"\r\n\r\na.xls\r\ngone.xls"_s,
                                  u"検索できないファイル"_s, MessageIcon::Exclamation}}));
    EXPECT_TRUE(m_ui.calls().filter(u"password("_s).isEmpty());
}

TEST_F(SearchRunTest, ResultsThatCannotBeSavedLeaveTheHitFile)
{
    select(u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})}));
    m_factory.onStart([](InMemoryHost& host) { host.failOn(u"saveWorkbook"_s, 1); });

    EXPECT_EQ(run().ending, SearchEnding::Failed);
    EXPECT_EQ(HitFile::read(m_settings.hitFilePath).size(), 1);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
    EXPECT_EQ(m_ui.messages(),
              QList<RunMessage>({{u"検索結果を作成できませんでした\r\nsaveWorkbook failed (use "
                                  u"1)\r\n\r\n見つかった箇所は Brelix.grp にあります"_s,
                                  u"検索結果作成不可"_s, MessageIcon::Exclamation}}));
}

} // namespace
} // namespace brelix::search
