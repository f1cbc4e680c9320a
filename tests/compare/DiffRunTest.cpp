#include "core/compare/DiffRun.h"

#include "GTestPrinters.h"
#include "Golden.h"
#include "GridWorkbooks.h"
#include "InMemoryHostFactory.h"
#include "ScriptedRunUi.h"

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

namespace brelix::compare {
namespace {

// Two workbooks, the template and the output in a folder of their own; the files exist on disk
// for the checks and in the in-memory host's file table for the office.
class DiffRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorkbookContent templ = WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s});
        templ.sheets[0].setCell(1, 1, CellContent::ofText(u"No"_s));
        m_settings.templatePath = put(u"Brelix_Format.xls"_s, templ);
        m_settings.outputPath = put(u"Brelix.xls"_s, templ);
        m_settings.firstPath = path(u"Book1.xls"_s);
        m_settings.secondPath = path(u"Book2.xls"_s);
    }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    QString put(const QString& name, const WorkbookContent& content)
    {
        QFile(path(name)).open(QIODevice::WriteOnly);
        m_factory.addFile(path(name), content);
        return path(name);
    }
    void books(const WorkbookContent& first, const WorkbookContent& second)
    {
        put(u"Book1.xls"_s, first);
        put(u"Book2.xls"_s, second);
    }
    DiffOutcome run()
    {
        // The run copies the template over the output on disk; the office's table follows.
        m_factory.addFile(m_settings.outputPath, *m_factory.savedContent(m_settings.templatePath));
        return DiffRun(m_factory, m_ui, m_password).start(m_settings);
    }
    InMemoryHost& office() { return m_factory.lastHost(); }
    SheetContent history() { return m_factory.savedContent(m_settings.outputPath)->sheets[0]; }

    QTemporaryDir m_dir;
    InMemoryHostFactory m_factory;
    ScriptedRunUi m_ui;
    QString m_password;
    DiffSettings m_settings;
};

TEST_F(DiffRunTest, DifferencesBecomeColouredCellsAndRowsOfTheSavedHistory)
{
    books(workbookOf({gridSheet(u"売上"_s, 3, 3), gridSheet(u"経費"_s, 2, 2)}),
          workbookOf({gridSheet(u"売上"_s, 3, 3, {{1, 2}, {3, 3}}),
                      gridSheet(u"経費"_s, 2, 2, {{2, 1}})}));

    const DiffOutcome outcome = run();

    EXPECT_EQ(outcome.ending, DiffEnding::Finished);
    EXPECT_EQ(outcome.records,
              QList<DiffRecord>({{1, u"売上"_s, 1, u"B1"_s, u"1,2"_s, u"changed"_s},
                                 {2, u"売上"_s, 1, u"C3"_s, u"3,3"_s, u"changed"_s},
                                 {3, u"経費"_s, 2, u"A2"_s, u"2,1"_s, u"changed"_s}}));
    EXPECT_TRUE(m_ui.messages().isEmpty());
    EXPECT_EQ(office().state(), InMemoryHost::State::HandedOver);
    for (const QString& book : {u"Book1.xls"_s, u"Book2.xls"_s}) {
        EXPECT_EQ(office().workbook(book).sheets[0].fill(3, 3), 7);
        EXPECT_EQ(office().workbook(book).sheets[1].fill(2, 1), 7);
        EXPECT_EQ(office().workbook(book).sheets[0].fill(2, 2), 0);
    }
    ASSERT_EQ(m_factory.savedContent(m_settings.outputPath)->sheets.size(), 1); // no "Grep結果"
    const SheetContent sheet = history();
    EXPECT_EQ(sheet.name, u"変更履歴　Book1-Book2"_s);
    EXPECT_EQ(sheet.cell(1, 1).text, u"No"_s);
    EXPECT_EQ(sheet.cell(4, 1).number, 3);
    EXPECT_EQ(sheet.cell(4, 4).text, u"A2"_s);
    EXPECT_EQ(sheet.fill(2, 1), 6);
    EXPECT_EQ(sheet.fill(4, 1), 6);
    EXPECT_EQ(sheet.fill(4, 2), 0);
    EXPECT_TRUE(sheet.border(2, 1).top);
    EXPECT_TRUE(sheet.border(4, 6).bottom);
    EXPECT_FALSE(sheet.border(5, 1).bottom);
    EXPECT_EQ(m_ui.captions(), QStringList({u"Excel起動中"_s, u"比較中-1/2:売上"_s,
                                            u"比較中-2/2:経費"_s, u"変更履歴作成中"_s}));
    EXPECT_EQ(m_ui.percents(), QList<int>({33, 67, 100, 50, 100}));
    // Side by side on a 1024 x 740 point screen, each window lowered above the history.
    for (const QString& call : {u"setWindowGeometry(Book1.xls,0,0,512,555)"_s,
                                u"setWindowGeometry(Book2.xls,0,512,512,555)"_s,
                                u"setWindowGeometry(Brelix.xls,558,0,1027,128)"_s})
        EXPECT_TRUE(office().calls().contains(call)) << call.toStdString();
}

TEST_F(DiffRunTest, ByFormulaFormulasDifferWhereTheirValuesAgree)
{
    WorkbookContent first = workbookOf({gridSheet(u"S"_s, 1, 2)});
    WorkbookContent second = first;
    CellContent sum = CellContent::ofNumber(2);
    sum.formula = u"=1+1"_s;
    first.sheets[0].setCell(1, 1, CellContent::ofNumber(2));
    second.sheets[0].setCell(1, 1, sum);
    books(first, second);

    EXPECT_TRUE(run().records.isEmpty());
    m_settings.byFormula = true;
    const DiffOutcome byFormula = run();
    ASSERT_EQ(byFormula.records.size(), 1);
    EXPECT_EQ(byFormula.records[0].secondText, u"=1+1"_s);
    EXPECT_EQ(history().fill(2, 1), 4); // one record: the cell alone, no borders
    EXPECT_FALSE(history().border(2, 1).top);
}

TEST_F(DiffRunTest, RefusalsStartNoOffice)
{
    books(workbookOf({gridSheet(u"S"_s, 1, 1)}), workbookOf({gridSheet(u"S"_s, 1, 1)}));
    m_settings.startSheetText = u"3"_s;
    m_settings.lastSheetText = u"2"_s;
    EXPECT_EQ(run().ending, DiffEnding::Refused);
    m_settings.startSheetText.clear();
    m_ui.setWindowTitles({u"Book1.xls - microsoft excel"_s});
    EXPECT_EQ(run().ending, DiffEnding::OfficeOpen);
    m_ui.setWindowTitles({});
    m_settings.secondPath = m_settings.firstPath;
    EXPECT_EQ(run().ending, DiffEnding::Refused);
    QFile::remove(m_settings.templatePath);
    bool programEnds = false;
    DiffRun(m_factory, m_ui, m_password).start(m_settings, &programEnds);
    EXPECT_TRUE(programEnds);

    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_EQ(
        m_ui.messages(),
        QList<RunMessage>(
            {{u"指定シートの設定が異常です"_s, u"指定シートエラー"_s, MessageIcon::Exclamation},
             {u"Excelを終了してから実行して下さい"_s, u"Excel起動中"_s, MessageIcon::Exclamation},
             {u"同一ファイル名は比較できません\r\n\r\nどちらかのファイル名を変更してから、"
              u"比較を実行して下さい"_s,
              u"実行中止"_s, MessageIcon::Exclamation},
             {u"Brelix_Format.xls がありません"_s, u"実行不可能"_s, MessageIcon::Critical}}));
}

TEST_F(DiffRunTest, EndingsBeforeTheHistoryCloseEverythingUnsaved)
{
    const WorkbookContent three =
        workbookOf({gridSheet(u"A"_s, 5, 2), gridSheet(u"B"_s, 1, 1), gridSheet(u"C"_s, 1, 1)});
    WorkbookContent locked = three;
    locked.sheets[0].isProtected = true;
    locked.sheets[0].password = u"pw"_s;
    struct Case {
        std::function<void()> arrange;
        DiffEnding ending;
        RunMessage message;
    };
    const QString aborted = u"ｄｉｆｆを中止しました"_s;
    const QList<Case> cases = {
        {[&] { m_settings.startSheetText = u"5"_s; },
         DiffEnding::StartBeyondLastSheet,
         {u"比較開始シートが全シート数より大きいです"_s, u"指定シートエラー"_s,
          MessageIcon::Exclamation}},
        {[&] { put(u"Book2.xls"_s, workbookOf({gridSheet(u"A"_s, 1, 1)})); },
         DiffEnding::SheetCountsDiffer,
         {aborted + u"\r\nシートが不一致です"_s, u"シート数不一致"_s, MessageIcon::Exclamation}},
        // Events: start, sheet, sheet start, row 1, row 2: cancel lands while row 1 is compared.
        {[&] { m_ui.cancelAtEvent(5); },
         DiffEnding::Cancelled,
         {aborted, u"ユーザ中止要求"_s, MessageIcon::Information}},
        {[&] {
             put(u"Book1.xls"_s, locked);
             m_ui.answerPasswords({u"wrong"_s});
         },
         DiffEnding::PasswordFailed,
         {aborted + u"\r\nSheet のパスワードエラーです"_s, u"ユーザ中止要求"_s,
          MessageIcon::Information}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.ending));
        books(three, workbookOf({gridSheet(u"A"_s, 5, 2, {{1, 1}, {2, 1}}), gridSheet(u"B"_s, 1, 1),
                                 gridSheet(u"C"_s, 1, 1)}));
        m_settings.startSheetText.clear();
        m_ui = ScriptedRunUi();
        c.arrange();
        const DiffOutcome outcome = run();
        EXPECT_EQ(outcome.ending, c.ending);
        EXPECT_EQ(outcome.records.size(), c.ending == DiffEnding::Cancelled ? 1 : 0);
        EXPECT_EQ(m_ui.messages(), QList<RunMessage>({c.message}));
        EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
        EXPECT_EQ(m_factory.savedContent(m_settings.outputPath)->sheets.size(), 2); // unsaved
    }
}

TEST_F(DiffRunTest, AProtectedSheetAsksItsPasswordOnceAndOffersItAgainNextRun)
{
    WorkbookContent first = workbookOf({gridSheet(u"S"_s, 2, 2)});
    first.sheets[0].isProtected = true;
    first.sheets[0].password = u"pw"_s;
    books(first, workbookOf({gridSheet(u"S"_s, 2, 2, {{2, 2}})}));
    m_ui.answerPasswords({u"pw"_s, u"pw"_s});
    EXPECT_EQ(run().ending, DiffEnding::Finished);
    EXPECT_EQ(run().records.size(), 1);
    EXPECT_EQ(m_ui.calls().filter(u"password("_s),
              QStringList({u"password(Book1.xls,)"_s, u"password(Book1.xls,pw)"_s}));
}

TEST_F(DiffRunTest, TheBudgetCutsBeforeASheetOrWithinIt)
{
    // 50 + 100 x 100 x 2 + 50 > 16382: nothing compared.
    books(workbookOf({gridSheet(u"S"_s, 100, 100)}),
          workbookOf({gridSheet(u"S"_s, 1, 1, {{1, 1}})}));
    EXPECT_EQ(run().ending, DiffEnding::CutShort);
    EXPECT_EQ(m_ui.messages().last(),
              (RunMessage{u"ファイルが大きすぎて、ぜんぜん比較できませんでした"_s, u"比較中止"_s,
                          MessageIcon::Exclamation, run::MessageButtons::Ok, true}));
    EXPECT_EQ(history().cell(3, 2).text, u"ファイルが大きすぎて、全て比較できませんでした。"_s);

    // 90 x 90: 16300, just within.
    books(workbookOf({gridSheet(u"S"_s, 90, 90)}),
          workbookOf({gridSheet(u"S"_s, 90, 90, {{90, 90}})}));
    EXPECT_EQ(run().ending, DiffEnding::Finished);

    // 80 x 80 all different: the budget runs out within the sheet; every later row records
    // its first difference only.
    QList<std::pair<int, int>> all;
    for (int r = 1; r <= 80; ++r)
        for (int c = 1; c <= 80; ++c)
            all.append({r, c});
    books(workbookOf({gridSheet(u"S"_s, 80, 80)}), workbookOf({gridSheet(u"S"_s, 80, 80, all)}));
    const DiffOutcome cut = run();
    EXPECT_EQ(cut.ending, DiffEnding::CutShort);
    const int withinBudget = (16382 - (50 + 80 * 80 * 2 + 50)) / 8 + 1;
    EXPECT_EQ(cut.records.size(), withinBudget + 80 - ((withinBudget - 1) / 80 + 1));
    EXPECT_EQ(cut.records.last().address, u"A80"_s);
    EXPECT_EQ(m_ui.messages().last().text,
              u"ファイルが大きすぎて、全て比較できませんでした\r\n\r\n"
              u"以下のシートの途中まで比較が完了しました\r\nシートNo=1  /  シート名=S"_s);
    // The notes follow the records after one empty row.
    EXPECT_EQ(history().cell(static_cast<int>(cut.records.size()) + 5, 2).text,
              u"シートNo=1  /  シート名=S"_s);
}

TEST_F(DiffRunTest, HiddenSheetsAreSkippedAndNotedEvenOutsideTheRange)
{
    WorkbookContent second =
        workbookOf({gridSheet(u"A"_s, 1, 1, {{1, 1}}), gridSheet(u"B"_s, 1, 1, {{1, 1}}),
                    gridSheet(u"C"_s, 1, 1, {{1, 1}})});
    second.sheets[1].visible = false;
    books(workbookOf({gridSheet(u"A"_s, 1, 1), gridSheet(u"B"_s, 1, 1), gridSheet(u"C"_s, 1, 1)}),
          second);
    m_settings.lastSheetText = u"2"_s;
    const DiffOutcome outcome = run();
    ASSERT_EQ(outcome.records.size(), 1);
    EXPECT_EQ(outcome.records[0].sheetNumber, 1);
    EXPECT_EQ(history().cell(4, 2).text,
              u"非表示のシートがありました。非表示シートは比較していません。"_s);
    EXPECT_EQ(history().cell(3, 2).type, CellContent::Type::Empty);
}

// Every host call of a comparison in each layout fails once in turn: the ending, and for a
// failure the stage and place its error report gives, are those of the table.
TEST_F(DiffRunTest, EachFailingCallEndsAsTheStageTableSays)
{
    WorkbookContent first = workbookOf({gridSheet(u"S"_s, 2, 3), gridSheet(u"T"_s, 3, 2)});
    first.sheets[1].visible = false;
    books(first, workbookOf({gridSheet(u"S"_s, 2, 3, {{2, 2}}), gridSheet(u"T"_s, 3, 2)}));
    const QStringList endings = {u"Finished"_s,
                                 u"CutShort"_s,
                                 u"Cancelled"_s,
                                 u"SheetCountsDiffer"_s,
                                 u"StartBeyondLastSheet"_s,
                                 u"PasswordFailed"_s};
    QString table;
    for (int layout = 0; layout <= 2; ++layout) {
        m_settings.layout = layout;
        m_factory.onStart({});
        run();
        QMap<QString, int> uses;
        for (const QString& call : office().calls())
            uses[call.section(u'(', 0, 0)] += 1;
        for (const auto& [operation, count] : uses.asKeyValueRange()) {
            for (int use = 1; use <= count; ++use) {
                m_factory.onStart([operation, use](InMemoryHost& h) { h.failOn(operation, use); });
                m_ui = ScriptedRunUi();
                const DiffOutcome outcome = run();
                table += u"layout %1 %2#%3: "_s.arg(layout).arg(operation).arg(use);
                const QStringList report = m_ui.errorReports().value(0).split(u"\r\n"_s);
                table += outcome.ending == DiffEnding::Failed
                             ? u"stage %1, %2, %3\n"_s.arg(report[17], report[25], report[27])
                             : u"ending %1\n"_s.arg(endings[static_cast<int>(outcome.ending)]);
            }
        }
    }
    expectGolden(u"diff-failure-stages.txt"_s, table);
}

} // namespace
} // namespace brelix::compare
