#include "core/compare/DiffRun.h"

#include "GTestPrinters.h"
#include "GridWorkbooks.h"
#include "InMemoryHostFactory.h"
#include "ScriptedRunUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::compare::DiffEnding;
using brelix::compare::DiffOutcome;
using brelix::compare::DiffRecord;
using brelix::compare::DiffRun;
using brelix::compare::DiffSettings;
using brelix::host::CellContent;
using brelix::host::HostError;
using brelix::run::MessageIcon;
using brelix::support::InMemoryHost;
using brelix::support::InMemoryHostFactory;
using brelix::support::ScriptedRunUi;
using brelix::support::SheetContent;
using brelix::support::WorkbookContent;

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
        templ.sheets[1].setCell(1, 1, CellContent::ofText(u"No"_s));
        m_settings.templatePath = put(u"Brelix_Format.xls"_s, templ);
        m_settings.outputPath = put(u"Brelix.xls"_s, templ);
        m_settings.firstPath = path(u"Book1.xls"_s);
        m_settings.secondPath = path(u"Book2.xls"_s);
    }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    QString put(const QString& name, const WorkbookContent& content)
    {
        QFile file(path(name));
        file.open(QIODevice::WriteOnly);
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
    WorkbookContent output() { return *m_factory.savedContent(m_settings.outputPath); }
    QStringList messageTitles() const
    {
        QStringList titles;
        for (const auto& m : m_ui.messages())
            titles.append(m.title);
        return titles;
    }

    QTemporaryDir m_dir;
    InMemoryHostFactory m_factory;
    ScriptedRunUi m_ui;
    QString m_password;
    DiffSettings m_settings;
};

using support::gridSheet;
using support::workbookOf;

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

    const WorkbookContent history = output();
    ASSERT_EQ(history.sheets.size(), 1); // "Grep結果" is gone
    const SheetContent& sheet = history.sheets[0];
    EXPECT_EQ(sheet.name, u"変更履歴　Book1-Book2"_s);
    EXPECT_EQ(sheet.cell(1, 1).text, u"No"_s);
    EXPECT_EQ(sheet.cell(4, 1).number, 3);
    EXPECT_EQ(sheet.cell(4, 2).text, u"経費"_s);
    EXPECT_EQ(sheet.cell(4, 4).text, u"A2"_s);
    EXPECT_EQ(sheet.fill(2, 1), 6);
    EXPECT_EQ(sheet.fill(4, 1), 6);
    EXPECT_EQ(sheet.fill(4, 2), 0);
    EXPECT_TRUE(sheet.border(4, 6).bottom);
    EXPECT_TRUE(sheet.border(2, 1).top);
    EXPECT_FALSE(sheet.border(5, 1).top && sheet.cell(5, 1).type != CellContent::Type::Empty);
    EXPECT_EQ(m_ui.captions(), QStringList({u"Excel起動中"_s, u"比較中-1/2:売上"_s,
                                            u"比較中-2/2:経費"_s, u"変更履歴作成中"_s}));
    EXPECT_EQ(m_ui.percents().last(), 100);
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
    EXPECT_EQ(output().sheets[0].fill(2, 1), 4); // one record: the cell alone, no borders
    EXPECT_FALSE(output().sheets[0].border(2, 1).top);
}

TEST_F(DiffRunTest, RefusalsBeforeAnyOfficeStarts)
{
    books(workbookOf({gridSheet(u"S"_s, 1, 1)}), workbookOf({gridSheet(u"S"_s, 1, 1)}));
    m_settings.startSheetText = u"3"_s;
    m_settings.lastSheetText = u"2"_s;
    EXPECT_EQ(run().ending, DiffEnding::Refused);

    m_settings.startSheetText.clear();
    m_settings.lastSheetText.clear();
    m_ui.setWindowTitles({u"Book1.xls - microsoft excel"_s});
    EXPECT_EQ(run().ending, DiffEnding::OfficeOpen);

    m_ui.setWindowTitles({});
    m_settings.secondPath = m_settings.firstPath;
    EXPECT_EQ(run().ending, DiffEnding::Refused);

    EXPECT_EQ(m_factory.startCount(), 0);
    EXPECT_EQ(messageTitles(),
              QStringList({u"指定シートエラー"_s, u"Excel起動中"_s, u"実行中止"_s}));
}

TEST_F(DiffRunTest, EndingsThatCloseEverythingUnsaved)
{
    books(workbookOf({gridSheet(u"A"_s, 1, 1), gridSheet(u"B"_s, 1, 1), gridSheet(u"C"_s, 1, 1)}),
          workbookOf({gridSheet(u"A"_s, 1, 1), gridSheet(u"B"_s, 1, 1), gridSheet(u"C"_s, 1, 1)}));
    m_settings.startSheetText = u"5"_s;
    EXPECT_EQ(run().ending, DiffEnding::StartBeyondLastSheet);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
    EXPECT_TRUE(office().calls().contains(u"arrangeWindows(SideBySide)"_s));

    m_settings.startSheetText.clear();
    put(u"Book2.xls"_s, workbookOf({gridSheet(u"A"_s, 1, 1), gridSheet(u"B"_s, 1, 1)}));
    m_settings.lastSheetText = u"1"_s; // counts differ whatever the range
    EXPECT_EQ(run().ending, DiffEnding::SheetCountsDiffer);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);

    EXPECT_EQ(m_ui.messages().last().text, u"ｄｉｆｆを中止しました\r\nシートが不一致です"_s);
    EXPECT_EQ(messageTitles(), QStringList({u"指定シートエラー"_s, u"シート数不一致"_s}));
    EXPECT_EQ(output().sheets.size(), 2); // the template copy, never saved
}

TEST_F(DiffRunTest, CancelFinishesTheCurrentRowThenEndsTheRun)
{
    books(workbookOf({gridSheet(u"S"_s, 5, 2)}),
          workbookOf({gridSheet(u"S"_s, 5, 2, {{1, 1}, {2, 1}, {3, 1}})}));
    // Events: start, sheet, sheet start, row 1, row 2: the press lands while row 1 is
    // compared; row 1 is finished, row 2 never starts.
    m_ui.cancelAtEvent(5);
    const DiffOutcome outcome = run();
    EXPECT_EQ(outcome.ending, DiffEnding::Cancelled);
    ASSERT_EQ(outcome.records.size(), 1);
    EXPECT_EQ(outcome.records[0].address, u"A1"_s);
    EXPECT_EQ(m_ui.messages().last().title, u"ユーザ中止要求"_s);
    EXPECT_EQ(m_ui.messages().last().icon, MessageIcon::Information);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
}

TEST_F(DiffRunTest, AProtectedSheetAsksItsPasswordAndRemembersIt)
{
    WorkbookContent first = workbookOf({gridSheet(u"S"_s, 2, 2)});
    first.sheets[0].isProtected = true;
    first.sheets[0].password = u"pw"_s;
    books(first, workbookOf({gridSheet(u"S"_s, 2, 2, {{2, 2}})}));

    m_ui.answerPasswords({u"pw"_s});
    EXPECT_EQ(run().ending, DiffEnding::Finished);
    EXPECT_EQ(m_password, u"pw"_s);
    EXPECT_TRUE(m_ui.calls().contains(u"password(Book1.xls,)"_s));

    m_ui.answerPasswords({u"wrong"_s});
    EXPECT_EQ(run().ending, DiffEnding::PasswordFailed);
    EXPECT_TRUE(m_ui.calls().contains(u"password(Book1.xls,pw)"_s)); // offered again
    EXPECT_EQ(m_ui.messages().last().text,
              u"ｄｉｆｆを中止しました\r\nSheet のパスワードエラーです"_s);
    EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
}

TEST_F(DiffRunTest, TheBudgetCutsBeforeASheetOrWithinIt)
{
    // 50 + 100 x 100 x 2 + 50 > 16382: nothing compared.
    books(workbookOf({gridSheet(u"S"_s, 100, 100)}),
          workbookOf({gridSheet(u"S"_s, 1, 1, {{1, 1}})}));
    EXPECT_EQ(run().ending, DiffEnding::CutShort);
    EXPECT_EQ(m_ui.messages().last().text, u"ファイルが大きすぎて、ぜんぜん比較できませんでした"_s);
    EXPECT_TRUE(m_ui.messages().last().foreground);
    EXPECT_EQ(output().sheets[0].cell(3, 2).text,
              u"ファイルが大きすぎて、全て比較できませんでした。"_s);

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
    const qint64 left = 16382 - (50 + 80 * 80 * 2 + 50);
    const int withinBudget = static_cast<int>(left / 8) + 1;
    const int row = (withinBudget - 1) / 80 + 1;
    EXPECT_EQ(cut.records.size(), withinBudget + (80 - row));
    EXPECT_EQ(cut.records.last().address, u"A80"_s);
    EXPECT_EQ(m_ui.messages().last().text,
              u"ファイルが大きすぎて、全て比較できませんでした\r\n\r\n"
              "以下のシートの途中まで比較が完了しました\r\nシートNo=1  /  シート名=S"_s);
}

TEST_F(DiffRunTest, HiddenSheetsAreSkippedAndNotedEvenOutsideTheRange)
{
    WorkbookContent first =
        workbookOf({gridSheet(u"A"_s, 1, 1), gridSheet(u"B"_s, 1, 1), gridSheet(u"C"_s, 1, 1)});
    WorkbookContent second =
        workbookOf({gridSheet(u"A"_s, 1, 1, {{1, 1}}), gridSheet(u"B"_s, 1, 1, {{1, 1}}),
                    gridSheet(u"C"_s, 1, 1, {{1, 1}})});
    second.sheets[1].visible = false;
    books(first, second);
    m_settings.lastSheetText = u"2"_s;
    const DiffOutcome outcome = run();
    ASSERT_EQ(outcome.records.size(), 1);
    EXPECT_EQ(outcome.records[0].sheetNumber, 1);
    const SheetContent history = output().sheets[0];
    EXPECT_EQ(history.cell(4, 2).text,
              u"非表示のシートがありました。非表示シートは比較していません。"_s);
    EXPECT_TRUE(history.cell(3, 2).type == CellContent::Type::Empty);
}

TEST_F(DiffRunTest, FailuresEndInTheReportWithTheirStage)
{
    books(workbookOf({gridSheet(u"S"_s, 6, 4), gridSheet(u"T"_s, 6, 4)}),
          workbookOf({gridSheet(u"S"_s, 6, 4), gridSheet(u"T"_s, 6, 4, {{5, 3}})}));
    struct Case {
        QString operation;
        int use;
        QString trap;
        QString place;
    };
    const QList<Case> cases = {
        {u"openWorkbook"_s, 2, u"6"_s, u"シートNo= 0 , 0行 , 0列"_s},
        {u"rangeTexts"_s, 3, u"111"_s, u"シートNo= 2 , 1行 , 4列"_s},
        {u"deleteSheet"_s, 1, u"203"_s, u"シートNo= 2 , 2行 , 6列"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation.toStdString());
        m_factory.onStart([&](InMemoryHost& h) { h.failOn(c.operation, c.use); });
        EXPECT_EQ(run().ending, DiffEnding::Failed);
        const QStringList lines = m_ui.errorReports().last().split(u"\r\n"_s);
        EXPECT_EQ(lines.value(17), c.trap);
        EXPECT_EQ(lines.value(27), c.place);
        EXPECT_EQ(lines.value(29), u"Name1= Book1.xls"_s);
        EXPECT_EQ(office().state(), InMemoryHost::State::Quit);
    }
    EXPECT_TRUE(m_ui.messages().isEmpty());
}

TEST_F(DiffRunTest, ARefusedSheetNameKeepsTheTemplatesAndLongNamesAreShortened)
{
    m_settings.firstPath = path(u"abcdefghijklmnopqrst.xls"_s); // 20 + 10 characters
    m_settings.secondPath = path(u"0123456789.xls"_s);
    put(u"abcdefghijklmnopqrst.xls"_s, workbookOf({gridSheet(u"S"_s, 1, 1)}));
    put(u"0123456789.xls"_s, workbookOf({gridSheet(u"S"_s, 1, 1)}));
    EXPECT_EQ(run().ending, DiffEnding::Finished);
    EXPECT_EQ(output().sheets[0].name, u"変更履歴　abcdefghi...-0123456789"_s);

    m_factory.onStart([](InMemoryHost& h) { h.failOn(u"setSheetName"_s, 1); });
    EXPECT_EQ(run().ending, DiffEnding::Finished);
    EXPECT_EQ(output().sheets[0].name, u"変更履歴"_s);
}

TEST_F(DiffRunTest, TheNormalLayoutPutsTheHistoryBelowBothWorkbooks)
{
    books(workbookOf({gridSheet(u"S"_s, 1, 1)}), workbookOf({gridSheet(u"S"_s, 1, 1)}));
    m_settings.toolBarRows = 2;
    run();
    // Side by side on a 1024 x 740 point screen: each window 512 x 740 before it is lowered.
    const QStringList& calls = office().calls();
    EXPECT_TRUE(calls.contains(u"setWindowGeometry(Book1.xls,0,0,512,555)"_s));
    EXPECT_TRUE(calls.contains(u"setWindowGeometry(Book2.xls,0,512,512,555)"_s));
    EXPECT_TRUE(calls.contains(u"setWindowGeometry(Brelix.xls,558,0,1027,128)"_s));
}

} // namespace
} // namespace brelix::compare
