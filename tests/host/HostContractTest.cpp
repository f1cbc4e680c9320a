#include "HostContractTest.h"

#include "TestData.h"
#include "core/host/CellText.h"
#include "core/host/ColourPalette.h"

#include <QDir>
#include <QFileInfo>
#include <functional>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellPosition;
using brelix::host::CellRange;
using brelix::host::CellTextKind;
using brelix::host::HostError;
using brelix::support::CellBorders;
using brelix::support::WorkbookContent;
using Style = brelix::host::CellContent::NumberStyle;

namespace brelix::contract {

namespace {

std::unique_ptr<HostUnderTest> s_subject;
std::unique_ptr<host::SpreadsheetHost> s_host;

// One instance serves every suite (an office takes seconds to start); it and the subject end
// before static destruction, while the program can still talk to them.
class SubjectEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (s_host)
            try {
                s_host->quit();
            } catch (const host::HostError&) {
                // A test already ended it.
            }
        s_host.reset();
        s_subject.reset();
    }
};

[[maybe_unused]] const auto* const s_environment =
    ::testing::AddGlobalTestEnvironment(new SubjectEnvironment);

} // namespace

void HostContractTest::TearDown()
{
    if (!s_host)
        return;
    try {
        s_host->closeAllWorkbooks();
    } catch (const host::HostError&) {
        s_host.reset(); // broken; the next test starts a new one
    }
}

HostUnderTest& HostContractTest::subject()
{
    if (!s_subject)
        s_subject = makeHostUnderTest();
    return *s_subject;
}

host::SpreadsheetHost& HostContractTest::sharedHost()
{
    if (!s_host)
        s_host = subject().start();
    return *s_host;
}

support::HostProbe& HostContractTest::probe()
{
    return subject().probe(sharedHost());
}

QString HostContractTest::pathOf(const QString& fileName) const
{
    return QDir(m_dir.path()).filePath(fileName);
}

QString HostContractTest::writeFile(const QString& fileName,
                                    const support::WorkbookContent& content,
                                    const QString& password)
{
    const QString path = pathOf(fileName);
    QDir().mkpath(QFileInfo(path).path());
    subject().writeFile(path, content, password);
    return path;
}

QString HostContractTest::open(const QString& fileName, const support::WorkbookContent& content)
{
    return sharedHost().openWorkbook(writeFile(fileName, content));
}

namespace {

// The workbook formats the program reads, each a test of its own.
const auto kFormats = ::testing::Values(u"xls"_s, u"xlsx"_s, u"ods"_s);

std::string formatName(const ::testing::TestParamInfo<QString>& info)
{
    return info.param.toStdString();
}

TEST_F(HostContractTest, MissingEncryptedAndSameNamedWorkbooksDoNotOpen)
{
    host::SpreadsheetHost& host = sharedHost();
    const WorkbookContent content = WorkbookContent::withSheets({u"A"_s});
    const QString path = writeFile(u"same.xls"_s, content);
    const QString otherPath = writeFile(u"other/same.xls"_s, content);
    const QString locked = writeFile(u"locked.ods"_s, content, u"secret"_s);
    host.openWorkbook(path);

    const QList<std::pair<QString, HostError::Kind>> refused = {
        {pathOf(u"missing.xls"_s), HostError::Kind::OpenFailed},
        {locked, HostError::Kind::OpenFailed},
        {path, HostError::Kind::General},
        {otherPath, HostError::Kind::General},
    };
    for (const auto& [file, kind] : refused)
        EXPECT_EQ(thrownKind([&] { host.openWorkbook(file); }), kind) << file.toStdString();
    EXPECT_EQ(host.workbookNames(), QStringList({u"same.xls"_s}));
}

TEST_F(HostContractTest, UnknownWorkbooksAndSheetsAreNotFound)
{
    host::SpreadsheetHost& host = sharedHost();
    const QString book = open(u"known.xls"_s, WorkbookContent::withSheets({u"A"_s, u"B"_s}));
    const QList<std::function<void()>> calls = {
        [&] { host.sheetCount(u"unknown.xls"_s); },
        [&] { host.activateWorkbook(u"unknown.xls"_s); },
        [&] { host.sheetName(book, 0); },
        [&] { host.sheetName(book, 3); },
        [&] {
            host.rangeTexts(book, 3, {{1, 1}, {1, 1}}, host::CellTextKind::Value);
        },
        [&] { host.lastUsedCell(book, 3); },
    };
    for (int i = 0; i < calls.size(); ++i)
        EXPECT_EQ(thrownKind(calls[i]), HostError::Kind::NotFound) << "call " << i;
}

TEST_F(HostContractTest, AQuitInstanceAnswersNoMore)
{
    std::unique_ptr<host::SpreadsheetHost> host = subject().start();
    const QString book =
        host->openWorkbook(writeFile(u"quit.xls"_s, WorkbookContent::withSheets({u"A"_s})));
    host->quit();

    EXPECT_EQ(thrownKind([&] { host->workbookNames(); }), HostError::Kind::Unavailable);
    EXPECT_EQ(thrownKind([&] { host->sheetCount(book); }), HostError::Kind::Unavailable);
    EXPECT_EQ(thrownKind([&] { host->quit(); }), HostError::Kind::Unavailable);
}

TEST_P(HostFormatTest, ListsSheetsWithNamesVisibilityAndUsedArea)
{
    WorkbookContent content = WorkbookContent::withSheets({u"Empty"_s, u"隠し"_s, u"Third one"_s});
    content.sheets[1].visible = false;
    content.sheets[1].setCell(3, 2, CellContent::ofNumber(1));
    content.sheets[1].setCell(5, 1, CellContent::ofText(u"bottom"_s));
    content.sheets[1].setCell(2, 4, CellContent::ofText(u"right"_s));
    content.sheets[2].setCell(7, 3, CellContent::ofNumber(0));
    content.activeSheet = 2; // a hidden workbook opens on its first sheet all the same
    const QString book = open(fileName(u"sheets"_s), content);
    host::SpreadsheetHost& host = sharedHost();
    EXPECT_EQ(probe().activeSheet(book), 1);

    ASSERT_EQ(host.sheetCount(book), 3);
    const QList<std::tuple<QString, bool, CellPosition>> expected = {
        {u"Empty"_s, true, {1, 1}}, {u"隠し"_s, false, {5, 4}}, {u"Third one"_s, true, {7, 3}}};
    for (int sheet = 1; sheet <= 3; ++sheet) {
        SCOPED_TRACE(sheet);
        EXPECT_EQ(host.sheetName(book, sheet), std::get<0>(expected[sheet - 1]));
        EXPECT_EQ(host.isSheetVisible(book, sheet), std::get<1>(expected[sheet - 1]));
        EXPECT_EQ(host.lastUsedCell(book, sheet), std::get<2>(expected[sheet - 1]));
    }
    host.activateSheet(book, 3);
    EXPECT_EQ(probe().activeSheet(book), 3);
}

TEST_P(HostFormatTest, AProtectedSheetHidesItsExtentUntilTheRightPasswordIsGiven)
{
    WorkbookContent content = WorkbookContent::withSheets({u"Open"_s, u"Locked"_s});
    content.sheets[1].isProtected = true;
    content.sheets[1].password = u"secret"_s;
    content.sheets[1].setCell(2, 2, CellContent::ofText(u"hidden away"_s));
    content.sheets[1].setCell(3, 3, CellContent::ofNumber(42));
    const QString book = open(fileName(u"protected"_s), content);
    host::SpreadsheetHost& host = sharedHost();

    EXPECT_FALSE(host.isSheetProtected(book, 1));
    EXPECT_EQ(host.lastUsedCell(book, 1), (CellPosition{1, 1}));
    for (const QString& wrong : {u"Secret"_s, QString()}) {
        EXPECT_EQ(thrownKind([&] { host.unprotectSheet(book, 2, wrong); }),
                  HostError::Kind::WrongPassword);
        EXPECT_TRUE(host.isSheetProtected(book, 2));
        EXPECT_EQ(thrownKind([&] { host.lastUsedCell(book, 2); }), HostError::Kind::SheetProtected);
    }

    host.unprotectSheet(book, 2, u"secret"_s);
    EXPECT_FALSE(host.isSheetProtected(book, 2));
    EXPECT_EQ(host.lastUsedCell(book, 2), (CellPosition{3, 3}));
    EXPECT_EQ(host.rangeTexts(book, 2, {{2, 2}, {3, 3}}, host::CellTextKind::Value),
              QList<QStringList>({{u"hidden away"_s, QString()}, {QString(), u"42"_s}}));
}

TEST_P(HostFormatTest, RenamesASheetUnlessTheNameIsRefused)
{
    const QString book =
        open(fileName(u"rename"_s), WorkbookContent::withSheets({u"Keep"_s, u"Other"_s}));
    host::SpreadsheetHost& host = sharedHost();

    for (const QString& name : {QString(), u"a/b"_s, u"a\\b"_s, u"what?"_s, u"star*"_s, u"[x]"_s,
                                u"a:b"_s, u"Other"_s, u"'quoted'"_s}) {
        EXPECT_EQ(thrownKind([&] { host.setSheetName(book, 1, name); }),
                  HostError::Kind::NameRefused)
            << name.toStdString();
        EXPECT_EQ(host.sheetName(book, 1), u"Keep"_s);
    }
    host.setSheetName(book, 1, u"Keep"_s); // its own name again
    host.setSheetName(book, 2, u"変更履歴 2"_s);
    EXPECT_EQ(host.sheetName(book, 2), u"変更履歴 2"_s);
}

TEST_P(HostFormatTest, DeletesASheetByNameButNeverTheLastOne)
{
    const QString book =
        open(fileName(u"delete"_s), WorkbookContent::withSheets({u"A"_s, u"B"_s, u"C"_s}));
    host::SpreadsheetHost& host = sharedHost();

    host.deleteSheet(book, u"B"_s);
    EXPECT_EQ(thrownKind([&] { host.deleteSheet(book, u"B"_s); }), HostError::Kind::NotFound);
    host.deleteSheet(book, u"A"_s);
    EXPECT_THROW(host.deleteSheet(book, u"C"_s), HostError);
    ASSERT_EQ(host.sheetCount(book), 1);
    EXPECT_EQ(host.sheetName(book, 1), u"C"_s);
}

INSTANTIATE_TEST_SUITE_P(Formats, HostFormatTest, kFormats, formatName);

CellContent number(double value, Style style = Style::General)
{
    return CellContent::ofNumber(value, style);
}

// One cell and its two texts, by value and by formula.
struct TextCase {
    CellContent cell;
    QString value;
    QString formula;
};

class HostCellTextTest : public HostFormatTest {
protected:
    // The cases go down column B from row 2; the test reads A1:C(n+2) by value and by formula,
    // so that every text must land in its own place and the cells around stay empty.
    void expectTexts(const QList<TextCase>& cases, const QDate& nullDate)
    {
        WorkbookContent content = WorkbookContent::withSheets({u"Texts"_s, u"Other"_s});
        content.nullDate = nullDate;
        content.sheets[1].setCell(1, 1, number(5));
        QList<QStringList> values = {{QString(), QString(), QString()}};
        QList<QStringList> formulas = values;
        for (int i = 0; i < cases.size(); ++i) {
            content.sheets[0].setCell(i + 2, 2, cases[i].cell);
            values.append({QString(), cases[i].value, QString()});
            formulas.append({QString(), cases[i].formula, QString()});
        }
        values.append(values.first());
        formulas.append(formulas.first());
        const QString book = open(fileName(u"texts"_s), content);
        const host::CellRange range{{1, 1}, {static_cast<int>(cases.size()) + 2, 3}};

        EXPECT_EQ(sharedHost().rangeTexts(book, 1, range, CellTextKind::Value), values);
        EXPECT_EQ(sharedHost().rangeTexts(book, 1, range, CellTextKind::Formula), formulas);
    }
};

TEST_P(HostCellTextTest, EachKindOfCellReadsAsItsTexts)
{
    QList<TextCase> cases;
    for (const QStringList& f : support::caseRows(u"host-cell-texts.tsv"_s))
        if (f.size() < 8 || f[7].split(u' ').contains(GetParam()))
            cases.append({support::cellOfCase(f), f[5], f[6]});
    EXPECT_GE(cases.size(), 35); // the file was read
    expectTexts(cases, host::defaultNullDate());
}

TEST_P(HostCellTextTest, DatesCountFromTheWorkbooksOwnNullDate)
{
    expectTexts({{number(0, Style::Date), u"1904/01/01"_s, u"1904/01/01"_s},
                 {number(366, Style::Date), u"1905/01/01"_s, u"1905/01/01"_s}},
                QDate(1904, 1, 1));
}

TEST_F(HostContractTest, ACsvFileOpensAsOneSheetNamedAfterTheFile)
{
    WorkbookContent content = WorkbookContent::withSheets({u"ignored"_s});
    content.sheets[0].setCell(1, 1, CellContent::ofText(u"name"_s));
    content.sheets[0].setCell(1, 2, CellContent::ofText(u"a,b \"q\""_s));
    content.sheets[0].setCell(2, 1, number(1.5));
    content.sheets[0].setCell(3, 2, CellContent::ofText(u"日本語"_s));
    const QString book = open(u"data.csv"_s, content);

    EXPECT_EQ(book, u"data.csv"_s);
    ASSERT_EQ(sharedHost().sheetCount(book), 1);
    EXPECT_EQ(sharedHost().sheetName(book, 1), u"data"_s);
    EXPECT_EQ(sharedHost().lastUsedCell(book, 1), (host::CellPosition{3, 2}));
    EXPECT_EQ(sharedHost().rangeTexts(book, 1, {{1, 1}, {3, 2}}, CellTextKind::Value),
              QList<QStringList>(
                  {{u"name"_s, u"a,b \"q\""_s}, {u"1.5"_s, QString()}, {QString(), u"日本語"_s}}));
}

INSTANTIATE_TEST_SUITE_P(Formats, HostCellTextTest, kFormats, formatName);

constexpr int Red = 3;
constexpr int Yellow = 6;
constexpr CellBorders AllEdges{true, true, true, true};

class HostWorkbookTest : public HostFormatTest {
protected:
    // Writes values, names a sheet and styles cells of the open workbook.
    static void change(const QString& book)
    {
        host::SpreadsheetHost& host = sharedHost();
        host.writeRows(book, 1, 2, 3,
                       {{7, 0.1 + 0.2, -2.5e-7, u"=1+1"_s}, {u"0001"_s, u"日本, \"語\"\n次"_s}});
        host.writeRows(book, 1, 1, 1, {{QVariant(), u"new"_s}}); // A1 "old" emptied
        host.setCellValue(book, 1, 1, 3, QVariant());            // C1 "old" emptied
        host.setCellValue(book, 2, 4, 2, 12345678);
        host.setSheetName(book, 2, u"Renamed"_s);
        host.fillRange(book, 1, {{5, 2}, {6, 3}}, Red);
        host.fillCells(book, 1, {{8, 5}, {9, 6}}, Yellow);
        host.fillRange(book, 1, {{5, 4}, {5, 4}}, 36);
        host.fillCells(book, 1, {{5, 4}}, host::ColourPalette::NoColour);
        host.drawGrid(book, 1, {{11, 2}, {12, 4}});
    }

    // What change() left, with the fill and the edges the file came with at G1 and G3. Cells
    // next to edges may share them; only the edged cells and those further away are certain.
    static void expectChanged(const QString& book)
    {
        host::SpreadsheetHost& host = sharedHost();
        EXPECT_EQ(host.rangeTexts(book, 1, {{1, 1}, {3, 6}}, CellTextKind::Formula),
                  QList<QStringList>({{QString(), u"new"_s, QString(), u"kept"_s, {}, {}},
                                      {{}, {}, u"7"_s, u"0.3"_s, u"-2.5E-07"_s, u"=1+1"_s},
                                      {{}, {}, u"0001"_s, u"日本, \"語\"\n次"_s, {}, {}}}));
        EXPECT_EQ(host.rangeTexts(book, 2, {{4, 2}, {4, 2}}, CellTextKind::Value),
                  QList<QStringList>({{u"12345678"_s}}));
        EXPECT_EQ(host.sheetName(book, 2), u"Renamed"_s);
        EXPECT_EQ(host.lastUsedCell(book, 2), (CellPosition{4, 2}));
        const CellRange grid{{11, 2}, {12, 4}};
        for (int row = 1; row <= 14; ++row) {
            for (int column = 1; column <= 7; ++column) {
                SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
                int fill = host::ColourPalette::NoColour;
                if (CellRange{{5, 2}, {6, 3}}.contains({row, column}))
                    fill = Red;
                else if ((row == 8 && column == 5) || (row == 9 && column == 6))
                    fill = Yellow;
                else if (row == 1 && column == 7)
                    fill = 44;
                EXPECT_EQ(probe().cellColourIndex(book, 1, row, column), fill);
                const bool nearEdges =
                    column >= 6 || CellRange{{10, 1}, {13, 5}}.contains({row, column});
                if (grid.contains({row, column}) || !nearEdges) {
                    EXPECT_EQ(probe().cellBorders(book, 1, row, column),
                              grid.contains({row, column}) ? AllEdges : CellBorders{});
                }
            }
        }
        EXPECT_EQ(probe().cellBorders(book, 1, 3, 7), AllEdges);
        EXPECT_EQ(probe().cellColourIndex(book, 2, 5, 2), host::ColourPalette::NoColour);
    }

    static WorkbookContent original()
    {
        WorkbookContent content = WorkbookContent::withSheets({u"Data"_s, u"More"_s});
        for (int column = 1; column <= 4; column += 2)
            content.sheets[0].setCell(1, column, CellContent::ofText(u"old"_s));
        content.sheets[0].setCell(1, 4, CellContent::ofText(u"kept"_s));
        content.sheets[0].fills[{1, 7}] = 44;
        content.sheets[0].borders[{3, 7}] = AllEdges;
        return content;
    }
};

TEST_P(HostWorkbookTest, OpensByTheBareFileNameActivatesAndCloses)
{
    host::SpreadsheetHost& host = sharedHost();
    const QString first = open(fileName(u"first"_s), WorkbookContent::withSheets({u"A"_s}));
    const QString second = open(fileName(u"Ä second"_s), WorkbookContent::withSheets({u"B"_s}));
    const QString third = open(fileName(u"third"_s), WorkbookContent::withSheets({u"C"_s}));

    EXPECT_EQ(first, fileName(u"first"_s));
    EXPECT_EQ(second, fileName(u"Ä second"_s));
    EXPECT_EQ(host.workbookNames(), QStringList({first, second, third}));
    EXPECT_EQ(probe().activeWorkbook(), third);
    host.activateWorkbook(first);
    EXPECT_EQ(probe().activeWorkbook(), first);

    host.closeWorkbook(second);
    EXPECT_EQ(host.workbookNames(), QStringList({first, third}));
    EXPECT_EQ(host.sheetName(third, 1), u"C"_s);
    host.closeWorkbook(first); // the last one opened becomes active
    EXPECT_EQ(probe().activeWorkbook(), third);
    host.closeAllWorkbooks();
    EXPECT_TRUE(host.workbookNames().isEmpty());
}

// Changes closed unsaved are gone; saved, they come back.
TEST_P(HostWorkbookTest, ChangesReadBackAndSurviveSavingButNotClosingUnsaved)
{
    const QString path = writeFile(fileName(u"saved"_s), original());
    change(sharedHost().openWorkbook(path));
    sharedHost().closeAllWorkbooks();
    const QString book = sharedHost().openWorkbook(path);
    EXPECT_EQ(probe().cellText(book, 1, 1, 1, CellTextKind::Value), u"old"_s);
    EXPECT_EQ(probe().cellColourIndex(book, 1, 5, 2), host::ColourPalette::NoColour);

    change(book);
    expectChanged(book);
    sharedHost().saveWorkbook(book);
    sharedHost().closeWorkbook(book);
    expectChanged(sharedHost().openWorkbook(path));
}

// A further sheet of a results workbook: a copy of one with its heading row only.
TEST_P(HostWorkbookTest, AddsASheetWithTheHeadingOfAnother)
{
    WorkbookContent content = WorkbookContent::withSheets({u"Log"_s, u"End"_s});
    content.sheets[0].setCell(1, 2, CellContent::ofText(u"Text"_s));
    content.sheets[0].setCell(2, 1, CellContent::ofText(u"record"_s));
    content.sheets[0].fills[{1, 1}] = 44;
    content.sheets[0].fills[{2, 2}] = Yellow;
    content.sheets[0].borders[{1, 2}] = AllEdges;
    const QString book = open(fileName(u"added"_s), content);
    sharedHost().addSheetWithHeading(book, 1, u"Log(2)"_s);

    ASSERT_EQ(sharedHost().sheetCount(book), 3);
    EXPECT_EQ(sharedHost().sheetName(book, 2), u"Log(2)"_s);
    EXPECT_EQ(sharedHost().sheetName(book, 3), u"End"_s);
    EXPECT_EQ(sharedHost().rangeTexts(book, 2, {{1, 1}, {2, 2}}, CellTextKind::Value),
              QList<QStringList>({{QString(), u"Text"_s}, {QString(), QString()}}));
    EXPECT_EQ(probe().cellColourIndex(book, 2, 1, 1), 44);
    EXPECT_EQ(probe().cellColourIndex(book, 2, 2, 2), host::ColourPalette::NoColour);
    EXPECT_EQ(probe().cellBorders(book, 2, 1, 2), AllEdges);
    EXPECT_EQ(sharedHost().rangeTexts(book, 1, {{2, 1}, {2, 1}}, CellTextKind::Value),
              QList<QStringList>({{u"record"_s}}));
}

INSTANTIATE_TEST_SUITE_P(Formats, HostWorkbookTest, kFormats, formatName);

} // namespace
} // namespace brelix::contract
