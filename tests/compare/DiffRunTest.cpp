#include "core/compare/DiffRun.h"

#include "GTestPrinters.h"
#include "GridWorkbooks.h"
#include "RunBench.h"
#include "TestData.h"
#include "core/compare/DiffRules.h"
#include "core/compare/ErrorReport.h"
#include "core/compare/SequenceMatcher.h"
#include "core/host/CellAddress.h"
#include "core/run/ResultsWorkbook.h"
#include "core/settings/SettingsNumber.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::support::gridSheet;
using brelix::support::WorkbookContent;
using brelix::support::workbookOf;

namespace brelix::compare {
namespace {

const QStringList kEndings = u"Finished CutShort Cancelled SheetCountsDiffer StartBeyondLastSheet "
                             u"PasswordFailed Failed Refused OfficeOpen"_s.split(u' ');

// Two sheets, and the same with three cells changed.
WorkbookContent twoSheets(const QList<std::pair<int, int>>& changed = {},
                          const QList<std::pair<int, int>>& changedToo = {})
{
    return workbookOf(
        {gridSheet(u"売上"_s, 3, 3, changed), gridSheet(u"経費"_s, 2, 2, changedToo)});
}

// One way to run a comparison and what should differ from an ordinary one.
struct Scenario {
    QString name{};
    WorkbookContent first = twoSheets();
    WorkbookContent second = twoSheets({{1, 2}, {3, 3}}, {{2, 1}});
    WindowLayout layout = WindowLayout::Normal;
    bool byFormula = false;
    bool colourDifferences = true;
    bool coloursSeen = true;
    QString startSheet{};
    QString lastSheet{};
    run::UserScript user{};
    QString failingCall{}; // fails at its first use
    bool sameFile = false;
    bool noTemplate = false;
    bool readOnlyResult = false;
    bool noResultsFolder = false;
    bool damagedTemplate = false;
    bool align = false;
    bool noSizeLimit = false;
    int historySheetRows = files::kResultsSheetRows;
};

// Book1.xls, Book2.xls, the template and the output in a folder of their own.
class Comparison : public run::RunBench {
public:
    explicit Comparison(const Scenario& scenario) : RunBench(scenario.user)
    {
        const QString first = put(u"Book1.xls"_s, scenario.first);
        const QString second = scenario.sameFile ? first : put(u"Book2.xls"_s, scenario.second);
        const QString templ = put(u"Brelix_Format.xls"_s,
                                  WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s}));
        const QString output =
            put(scenario.noResultsFolder ? u"none/Brelix.xls"_s : u"Brelix.xls"_s, {});
        putPreviousResult(output, scenario.readOnlyResult);
        m_settings = {first,
                      second,
                      output,
                      templ,
                      scenario.startSheet,
                      scenario.lastSheet,
                      scenario.byFormula,
                      scenario.layout,
                      scenario.colourDifferences};
        m_settings.coloursSeen = scenario.coloursSeen;
        m_settings.alignRows = scenario.align;
        m_settings.noSizeLimit = scenario.noSizeLimit;
        m_settings.historySheetRows = scenario.historySheetRows;
        if (scenario.noTemplate)
            QFile::remove(m_settings.templatePath);
        if (scenario.damagedTemplate)
            QFile(m_settings.templatePath).resize(1024);
        failInFirstOffice(scenario.failingCall);
    }
    DiffOutcome run(bool* programEnds = nullptr)
    {
        copyTemplate(m_settings.templatePath, m_settings.outputPath);
        return DiffRun(m_factory, m_ui, m_password).start(m_settings, programEnds);
    }
    // What a run showed, found, coloured and saved.
    QString transcript()
    {
        bool programEnds = false;
        const DiffOutcome outcome = run(&programEnds);
        QString text = u"ending %1%2, %3 records, password %4\n"_s
                           .arg(kEndings[static_cast<int>(outcome.ending)])
                           .arg(programEnds ? u" (the program ends)"_s : QString())
                           .arg(outcome.records.size())
                           .arg(m_password);
        for (const DiffRecord& r : run::firstAndLast(outcome.records, 3))
            text += u"  "_s + QVariant(r.row()).toStringList().join(u'|') + u'\n';
        text +=
            screenAndOffices({u"setWindowGeometry"_s, u"fillCells"_s, u"addSheetWithHeading"_s}) +
            previousResult(m_settings.outputPath);
        if (!handedOver())
            return text;
        const WorkbookContent history = *m_factory.savedContent(m_settings.outputPath);
        for (const auto& sheet : history.sheets)
            text += run::sheetText(sheet);
        return text;
    }

    DiffSettings m_settings;
};

// Each run as the user and the files see it: its ending, its records, everything it showed,
// its offices, the windows it placed, the cells it coloured and the change history it saved.
TEST(DiffRunTest, EachRunEndsShowsAndSavesAsItsTranscriptSays)
{
    WorkbookContent formula = workbookOf({gridSheet(u"S"_s, 1, 2)});
    formula.sheets[0].setCell(1, 1, host::CellContent::ofNumber(2));
    WorkbookContent sum = formula;
    sum.sheets[0].cells[{1, 1}].formula = u"=1+1"_s;
    const WorkbookContent three =
        workbookOf({gridSheet(u"A"_s, 1, 1), gridSheet(u"B"_s, 1, 1), gridSheet(u"C"_s, 1, 1)});
    WorkbookContent hidden = three;
    hidden.sheets[0] = gridSheet(u"A"_s, 1, 1, {{1, 1}});
    hidden.sheets[1].visible = false;
    WorkbookContent locked = twoSheets();
    for (auto& sheet : locked.sheets)
        sheet.isProtected = true, sheet.password = u"pw"_s;
    QList<std::pair<int, int>> all;
    for (int cell = 0; cell < 80 * 80; ++cell)
        all.append({cell / 80 + 1, cell % 80 + 1});
    const auto square = [](int size, const QList<std::pair<int, int>>& changes = {}) {
        return workbookOf({gridSheet(u"S"_s, size, size, changes)});
    };
    // A hidden second sheet, for the note that follows the records.
    const auto hiddenAfter = [](const support::SheetContent& sheet) {
        WorkbookContent book = workbookOf({sheet, gridSheet(u"H"_s, 1, 1)});
        book.sheets[1].visible = false;
        return book;
    };
    // The budget: 50 + 100 x 100 x 2 + 50 > 16382, 50 + 90 x 90 x 2 + 50 is within.
    const QList<Scenario> scenarios = {
        {.name = u"three differences in two sheets"_s},
        {.name = u"side by side"_s, .layout = WindowLayout::SideBySide},
        {.name = u"stacked, not coloured"_s,
         .layout = WindowLayout::Stacked,
         .colourDifferences = false},
        {.name = u"values agree"_s, .first = formula, .second = sum},
        {.name = u"formulas differ"_s, .first = formula, .second = sum, .byFormula = true},
        {.name = u"hidden, after the range"_s,
         .first = three,
         .second = hidden,
         .lastSheet = u"1"_s},
        {.name = u"passwords given"_s, .first = locked, .user = {.passwords = {u"pw"_s, u"pw"_s}}},
        {.name = u"a wrong password"_s, .first = locked, .user = {.passwords = {u"wrong"_s}}},
        // Events: start, sheet, sheet start, row 1, row 2: the press lands in row 1.
        {.name = u"cancel"_s, .user = {.cancelAtEvent = 5}},
        {.name = u"sheet counts differ"_s, .second = square(3)},
        {.name = u"start beyond the last sheet"_s, .startSheet = u"3"_s},
        {.name = u"a reversed range"_s, .startSheet = u"3"_s, .lastSheet = u"2"_s},
        {.name = u"an office handed over earlier still open"_s, .user = {.officeHandedOver = true}},
        {.name = u"the same file twice"_s, .sameFile = true},
        {.name = u"no template"_s, .noTemplate = true},
        {.name = u"a read-only change history"_s, .readOnlyResult = true},
        {.name = u"no folder for the change history"_s, .noResultsFolder = true},
        {.name = u"a template cut short"_s, .damagedTemplate = true},
        {.name = u"too large"_s, .first = square(100), .second = square(1, {{1, 1}})},
        {.name = u"just within the budget"_s,
         .first = square(90),
         .second = square(90, {{90, 90}})},
        {.name = u"over budget in the sheet"_s, .first = square(80), .second = square(80, all)},
        {.name = u"over budget in the sheet, by matched rows"_s,
         .first = square(80),
         .second = square(80, all),
         .align = true},
        // Counted as coloured, so cut where the window's run is cut, but nothing coloured.
        {.name = u"over budget in the sheet, colours unseen"_s,
         .first = square(80),
         .second = square(80, all),
         .coloursSeen = false},
        {.name = u"over budget in the sheet, by matched rows, colours unseen"_s,
         .first = square(80),
         .second = square(80, all),
         .coloursSeen = false,
         .align = true},
        {.name = u"a sheet name refused"_s, .failingCall = u"setSheetName"_s},
        // 600 x 100 cells, read 500 rows at a time; five records, three a history sheet, the
        // last in the first row of the second block.
        {.name = u"no size limit, records past a history sheet"_s,
         .first = hiddenAfter(gridSheet(u"S"_s, 600, 100)),
         .second = hiddenAfter(
             gridSheet(u"S"_s, 600, 100, {{1, 1}, {1, 2}, {2, 2}, {200, 100}, {501, 1}})),
         .noSizeLimit = true,
         .historySheetRows = 4},
        // One record, a blank row and the note fill the four rows of the sheet.
        {.name = u"no size limit, a note that just fits its sheet"_s,
         .first = hiddenAfter(gridSheet(u"S"_s, 2, 2)),
         .second = hiddenAfter(gridSheet(u"S"_s, 2, 2, {{2, 2}})),
         .noSizeLimit = true,
         .historySheetRows = 4},
    };
    QString transcripts;
    for (const Scenario& scenario : scenarios)
        transcripts += u"== "_s + scenario.name + u'\n' + Comparison(scenario).transcript();
    run::expectGolden(u"diff-runs.txt"_s, transcripts);
}

// With its two workbooks in offices of their own, loaded and read side by side, a run ends,
// reports, colours and saves exactly as in one office.
TEST(DiffRunTest, TwoOfficesFindColourAndSaveWhatOneDoes)
{
    const QList<Scenario> scenarios = {
        {.name = u"three differences in two sheets"_s},
        {.name = u"stacked, not coloured"_s,
         .layout = WindowLayout::Stacked,
         .colourDifferences = false},
        {.name = u"a read fails"_s, .failingCall = u"rangeTexts"_s},
        {.name = u"no size limit, records past a history sheet"_s,
         .first = workbookOf({gridSheet(u"S"_s, 600, 100)}),
         .second = workbookOf({gridSheet(u"S"_s, 600, 100, {{1, 1}, {2, 2}, {550, 100}})}),
         .noSizeLimit = true,
         .historySheetRows = 3},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name.toStdString());
        QString seen[2];
        for (const bool twoOffices : {false, true}) {
            Comparison comparison(scenario);
            comparison.m_factory.setTwoOfficesForTwoWorkbooks(twoOffices);
            const DiffOutcome outcome = comparison.run();
            QString& text = seen[twoOffices];
            text = kEndings[static_cast<int>(outcome.ending)] + u'\n' +
                   comparison.m_ui.calls().join(u'\n') + u'\n';
            for (const DiffRecord& r : outcome.records)
                text += QVariant(r.row()).toStringList().join(u'|') + u'\n';
            QMap<QString, QString> books; // by name, whichever office holds them
            for (int i = 0; i < comparison.m_factory.startCount(); ++i) {
                support::InMemoryHost& office = comparison.m_factory.host(i);
                for (const QString& book : office.openWorkbookNames())
                    for (const auto& sheet : office.workbook(book).sheets)
                        books[book] += run::sheetText(sheet);
            }
            for (auto it = books.cbegin(); it != books.cend(); ++it)
                text += u"-- "_s + it.key() + u'\n' + it.value();
            // The second workbook went to an office of its own.
            EXPECT_EQ(comparison.m_factory.startCount(), twoOffices ? 2 : 1);
            EXPECT_EQ(comparison.m_factory.lastHost()
                          .calls()
                          .filter(u"openWorkbook"_s)
                          .value(0)
                          .contains(u"Book2"_s),
                      twoOffices);
        }
        EXPECT_EQ(seen[1].toStdString(), seen[0].toStdString());
    }
}

// A sheet from rows split by '/' and cells by ' ', '.' an empty cell.
WorkbookContent sheetOf(const QString& text)
{
    support::SheetContent sheet;
    sheet.name = u"S"_s;
    const QStringList rows = text.split(u'/');
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = rows[r].split(u' ');
        for (int c = 0; c < cells.size(); ++c)
            if (cells[c] != u"."_s)
                sheet.setCell(r + 1, c + 1, host::CellContent::ofText(cells[c]));
    }
    return workbookOf({sheet});
}

// By matched rows and columns: each record as "first address>second address first text>second
// text kind", and the cells coloured in each workbook.
TEST(DiffRunTest, MatchedRowsAndColumnsGiveTheRecordsAndColoursOfTheTable)
{
    const QList<std::tuple<QString, QString, QStringList, QString>> cases = {
        {u"a b/c d/e f"_s,
         u"x y/a b/c d/e f"_s, // a row inserted at the top
         {u">A1 >x 行挿入"_s, u">B1 >y 行挿入"_s},
         u"fillCells(Book2.xls,1,A1 B1,35)"_s},
        {u"a b/c d/e f/g h/i j"_s,
         u"a b/g h/i k"_s, // rows deleted, a change below
         {u"A2> c> 行削除"_s, u"B2> d> 行削除"_s, u"A3> e> 行削除"_s, u"B3> f> 行削除"_s,
          u"B5>B3 j>k 変更"_s},
         u"fillCells(Book1.xls,1,B5,7) fillCells(Book2.xls,1,B3,7) "
         u"fillCells(Book1.xls,1,A2 B2 A3 B3,22)"_s},
        {u"a b c/d e f/g h i"_s,
         u"b c X/e f Y/h i Z"_s, // a column deleted, one inserted
         {u"A1> a> 列削除"_s, u">C1 >X 列挿入"_s, u"A2> d> 列削除"_s, u">C2 >Y 列挿入"_s,
          u"A3> g> 列削除"_s, u">C3 >Z 列挿入"_s},
         u"fillCells(Book1.xls,1,A1 A2 A3,22) fillCells(Book2.xls,1,C1 C2 C3,35)"_s},
        {u"a b/a b/c d"_s,
         u"a b/a b/a b/c d"_s, // repeated rows
         {u">A3 >a 行挿入"_s, u">B3 >b 行挿入"_s},
         u"fillCells(Book2.xls,1,A3 B3,35)"_s},
        {u"a b c/d e f/g h i"_s,
         u"a b c/x y z/d e F/g h i"_s, // a changed row beside a new one
         {u">A2 >x 行挿入"_s, u">B2 >y 行挿入"_s, u">C2 >z 行挿入"_s, u"C2>C3 f>F 変更"_s},
         u"fillCells(Book1.xls,1,C2,7) fillCells(Book2.xls,1,C3,7) "
         u"fillCells(Book2.xls,1,A2 B2 C2,35)"_s},
        {u"a b/c d"_s,
         u"a b/c d/e ."_s, // a tail added
         {u">A3 >e 行挿入"_s},
         u"fillCells(Book2.xls,1,A3,35)"_s},
        {u"a b c/d e f"_s,
         u"x y z w/a N b c/d N e f"_s, // a row and a column inserted
         {u">A1 >x 行挿入"_s, u">B1 >y 行挿入"_s, u">C1 >z 行挿入"_s, u">D1 >w 行挿入"_s,
          u">B2 >N 列挿入"_s, u">B3 >N 列挿入"_s},
         u"fillCells(Book2.xls,1,A1 B1 C1 D1 B2 B3,35)"_s},
        {u"a b c/d e f/g h i"_s,
         u"a b c/d X Y/g h i"_s, // a third in common: not a pair
         {u"A2> d> 行削除"_s, u"B2> e> 行削除"_s, u"C2> f> 行削除"_s, u">A2 >d 行挿入"_s,
          u">B2 >X 行挿入"_s, u">C2 >Y 行挿入"_s},
         u"fillCells(Book1.xls,1,A2 B2 C2,22) fillCells(Book2.xls,1,A2 B2 C2,35)"_s},
        // Only empty lines in common: by position.
        {u"a . b/. . ./c . d"_s,
         u"w . ./. . ./y . z"_s,
         {u"A1>A1 a>w 変更"_s, u"C1>C1 b> 変更"_s, u"A3>A3 c>y 変更"_s, u"C3>C3 d>z 変更"_s},
         u"fillCells(Book1.xls,1,A1 C1 A3 C3,7) fillCells(Book2.xls,1,A1 C1 A3 C3,7)"_s},
    };
    for (const auto& [first, second, records, fills] : cases) {
        Comparison comparison({.first = sheetOf(first), .second = sheetOf(second), .align = true});
        QStringList found;
        for (const DiffRecord& r : comparison.run().records)
            found.append(u"%1>%2 %3>%4 %5"_s.arg(r.address, r.secondAddress, r.firstText,
                                                 r.secondText, changeKindCaption(r.kind)));
        EXPECT_EQ(found, records) << first.toStdString() << " | " << second.toStdString();
        EXPECT_EQ(comparison.m_factory.lastHost().calls().filter(u"fillCells("_s).join(u' '), fills)
            << first.toStdString();
    }
}

// A workbook as the option cases write it: sheets "NAME|row/row" joined by ';', cells split by
// blanks, '.' an empty cell, '_' a blank in a cell, a name ending in '!' a hidden sheet.
WorkbookContent workbookOfCase(const QString& text)
{
    WorkbookContent book;
    for (const QString& sheetText : text.split(u';')) {
        const QStringList parts = sheetText.split(u'|');
        support::SheetContent& sheet = book.addSheet(parts[0]);
        sheet.visible = !sheet.name.endsWith(u'!');
        sheet.name.remove(u'!');
        const QStringList rows = parts[1].split(u'/');
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList cells = rows[r].split(u' ');
            for (int c = 0; c < cells.size(); ++c)
                if (cells[c] != u"."_s)
                    sheet.setCell(r + 1, c + 1,
                                  host::CellContent::ofText(QString(cells[c]).replace(u'_', u' ')));
        }
    }
    return book;
}

void applyCaseOptions(DiffSettings& settings, const QString& options)
{
    for (const QString& option : options.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = option.section(u'=', 0, 0), value = option.section(u'=', 1);
        EqualityRules& rules = settings.equality;
        if (name == u"key"_s)
            settings.keyColumns = host::columnList(value, kMostKeyColumns).value();
        else if (name == u"ignore"_s)
            rules.ignoredColumns = host::columnList(value, 99).value();
        else if (name == u"tolerance"_s)
            rules.tolerance = settings::toleranceOf(value);
        else if (name == u"from"_s)
            settings.startSheetText = value;
        else
            (name == u"align"_s     ? settings.alignRows
             : name == u"by-name"_s ? settings.bySheetName
             : name == u"case"_s    ? rules.ignoreCase
             : name == u"width"_s   ? rules.ignoreWidth
                                    : rules.ignoreBlanks) = true;
    }
}

// Pairing by key and by sheet name and the rules of equality, alone and together, with the
// records and colours each gives (tests/data/compare-options.txt).
TEST(DiffRunTest, KeysSheetNamesAndRulesGiveTheRecordsOfTheirCases)
{
    const QList<QStringList> lines = support::caseRows(u"compare-options.txt"_s);
    for (qsizetype i = 0; i < lines.size();) {
        const QStringList& head = lines[i++];
        ASSERT_EQ(head.value(0), u"case"_s);
        QStringList expected, fills;
        QString first, second;
        for (; i < lines.size() && lines[i][0] != u"case"_s; ++i) {
            const QString& kind = lines[i][0];
            if (kind == u"record"_s)
                expected.append(lines[i].mid(1).join(u'|'));
            else if (kind == u"fills"_s)
                fills.append(lines[i].value(1));
            else
                (kind == u"first"_s ? first : second) = lines[i].value(1);
        }
        Comparison comparison({.first = workbookOfCase(first), .second = workbookOfCase(second)});
        applyCaseOptions(comparison.m_settings, head.value(2));
        const DiffOutcome outcome = comparison.run();
        QStringList found;
        for (const DiffRecord& r : outcome.records)
            found.append(QStringList{r.sheetName, QString::number(r.sheetNumber), r.address,
                                     r.secondAddress, r.firstText, r.secondText,
                                     changeKindCaption(r.kind)}
                             .join(u'|'));
        const std::string name = head.value(1).toStdString();
        EXPECT_EQ(found, expected) << name;
        if (!fills.isEmpty()) {
            EXPECT_EQ(comparison.m_factory.lastHost().calls().filter(u"fillCells("_s).join(u' '),
                      fills.first())
                << name;
        }
        // The change history names the kinds only where the terminal does.
        const DiffSettings& settings = comparison.m_settings;
        const WorkbookContent history = *comparison.m_factory.savedContent(settings.outputPath);
        for (int n = 0; n < outcome.records.size(); ++n) {
            EXPECT_EQ(history.sheets[0].cell(n + 2, 8).text,
                      settings.recordsKinds() ? changeKindCaption(outcome.records[n].kind)
                                              : QString())
                << name;
        }
    }
}

// Lines as letters, '.' an empty one, a letter similar to itself in the other case; each step
// written as its two lines, '-' for the missing one.
TEST(SequenceMatcherTest, TheFewestEditsThenSimilarPairsElsePositions)
{
    const auto steps = [](const QString& a, const QString& b) {
        const auto keys = [](const QString& text) {
            std::vector<quint64> lines;
            for (const QChar c : text)
                lines.push_back(c == u'.' ? SequenceMatcher::kBlank : c.unicode());
            return lines;
        };
        QStringList out;
        for (const LinePair& p : SequenceMatcher::match(
                 keys(a), keys(b), [&](int i, int j) { return a[i].toLower() == b[j].toLower(); }))
            out.append(QString(p.inserted() ? u'-' : a[p.first]) +
                       (p.deleted() ? u'-' : b[p.second]));
        return out.join(u' ');
    };
    const std::tuple<QString, QString, QString> cases[] = {
        {u"abc"_s, u"xabc"_s, u"-x aa bb cc"_s},     {u"abcde"_s, u"abe"_s, u"aa bb c- d- ee"_s},
        {u"aab"_s, u"aaab"_s, u"aa aa -a bb"_s},     {u"ab"_s, u"ab.."_s, u"aa bb -. -."_s},
        {u"abcd"_s, u"axBd"_s, u"aa -x bB c- dd"_s}, {u"ab."_s, u"xy."_s, u"ax by .."_s},
        {u"ab"_s, u"Ba"_s, u"-B aa b-"_s},           {u"ab"_s, u"xAB"_s, u"-x aA bB"_s},
    };
    for (const auto& [a, b, expected] : cases)
        EXPECT_EQ(steps(a, b), expected) << a.toStdString() << " | " << b.toStdString();

    // Past a few hundred edits the lines found once in each anchor the rest: still the fewest.
    std::vector<quint64> first, second;
    for (quint64 line = 1; line <= 100000; ++line) {
        first.push_back(line);
        second.push_back(line % 50 ? line : line + 1000000);
    }
    second.insert(second.begin() + 2, 7777777);
    int same = 0, changes = 0;
    for (const LinePair& p :
         SequenceMatcher::match(first, second, [](int, int) { return false; })) {
        if (p.deleted() || p.inserted())
            changes += 1;
        else
            same += first[size_t(p.first)] == second[size_t(p.second)];
    }
    EXPECT_EQ(same, 98000);
    EXPECT_EQ(changes, 4001);
}

// Every host call of a comparison in each layout fails once in turn: the ending, and for a
// failure the stage and places its error report gives.
TEST(DiffRunTest, EachFailingCallEndsAsTheStageTableSays)
{
    Scenario scenario{.second = twoSheets({{2, 2}})};
    scenario.first.sheets[1].visible = false;
    QString table;
    for (int layout = 0; layout <= 2; ++layout) {
        scenario.layout = static_cast<WindowLayout>(layout);
        Comparison clean(scenario);
        clean.run();
        QMap<QString, int> uses;
        for (const QString& call : clean.m_factory.lastHost().calls())
            uses[call.section(u'(', 0, 0)] += 1;
        for (const auto& [operation, count] : uses.asKeyValueRange()) {
            for (int use = 1; use <= count; ++use) {
                Comparison failing(scenario);
                failing.m_factory.onStart(
                    [&](support::InMemoryHost& h) { h.failOn(operation, use); });
                const DiffOutcome outcome = failing.run();
                const QStringList report = failing.m_ui.errorReports().value(0).split(u"\r\n"_s);
                table += u"layout %1 %2#%3: "_s.arg(layout).arg(operation).arg(use) +
                         (outcome.ending == DiffEnding::Failed
                              ? u"stage %1, %2, %3\n"_s.arg(report[17], report[25], report[27])
                              : u"ending %1\n"_s.arg(kEndings[static_cast<int>(outcome.ending)]));
            }
        }
    }
    run::expectGolden(u"diff-failure-stages.txt"_s, table);
}

// A read or a colouring that fails at one cell: the report names that cell, not the first row
// of the block read or the last cell of the sheet.
TEST(DiffRunTest, TheErrorReportNamesTheCellWhoseReadOrColouringFailed)
{
    const std::tuple<QString, QString, int, host::CellPosition> failures[] = {
        {u"rangeTexts"_s, u"Book2.xls"_s, 1, {2, 3}},
        {u"fillCells"_s, u"Book1.xls"_s, 1, {1, 2}},
        {u"fillCells"_s, u"Book2.xls"_s, 2, {2, 1}}};
    for (const auto& [operation, book, sheet, cell] : failures) {
        Comparison failing(Scenario{});
        failing.m_factory.onStart(
            [&](support::InMemoryHost& h) { h.failOnCell(operation, book, sheet, cell); });
        EXPECT_EQ(failing.run().ending, DiffEnding::Failed);
        EXPECT_EQ(failing.m_ui.errorReports().value(0).split(u"\r\n"_s).value(27),
                  u"シートNo= %1 , %2行 , %3列"_s.arg(sheet).arg(cell.row).arg(cell.column))
            << operation.toStdString();
    }
}

// The strip ends at the bottom of the work area (here below a panel 30 points high), each toolbar
// row making it taller, and the workbooks above end 3 points above it.
TEST(DiffRunTest, TheStripFillsTheBottomOfTheWorkAreaAndTheWorkbooksTheRest)
{
    const host::WindowGeometry area{30, 10, 960, 738};
    // Toolbar rows, the strip's top and height, the height of a workbook above it.
    const std::tuple<int, double, double, double> cases[] = {
        {0, 572, 196, 539}, {2, 533, 235, 500}, {5, 474.5, 293.5, 441.5}};
    for (const auto& [rows, top, height, above] : cases) {
        const host::WindowGeometry strip = run::ResultsWorkbook::strip(area, 963, rows);
        EXPECT_EQ(QList<double>({strip.top, strip.left, strip.width, strip.height}),
                  QList<double>({top, 10, 963, height}));
        EXPECT_EQ(run::ResultsWorkbook::aboveStrip(area, rows).height, above) << rows;
    }
}

TEST(DiffRunTest, TheErrorReportTellsTheRunsStateInThirtySixCrLfLines)
{
    ErrorReportState state{
        .majorVersion = 4,
        .minorVersion = 6,
        .stage = 3,
        .errorNumber = 1004,
        .errorDescription = u"シート '%1' は保護されています"_s,
        .workDone = 1234567890123,
        .largest = {5, 120, 30},
        .current = {2, 17, 4},
        .names = {u"売上2003.xls"_s, u"売上2004.xls"_s, u"変更履歴.xls"_s},
        .paths = {u"/u/売上2003.xls"_s, u"/u/売上2004.xls"_s, u"/u/変更履歴.xls"_s},
        .environment = u"Debian GNU/Linux 12 (bookworm)、LibreOffice 7.4.7.2"_s};
    QString text = errorReportText(state);
    EXPECT_EQ(text.count(u'\n'), text.count(u"\r\n"_s)); // the golden file holds the lines
    run::expectGolden(u"error-report.txt"_s, text.replace(u"\r\n"_s, u"\n"_s));
}

TEST(DiffRulesTest, TheInputChecksRefuseInTheirOrder)
{
    // Real files, since the checks ask the disk: the template t.xls, a.xls and b/A.XLS, an
    // empty template e.xls and one cut short, c.xls; b is a folder.
    QTemporaryDir dir;
    const auto path = [&](const QString& name) { return dir.filePath(name); };
    QDir(dir.path()).mkdir(u"b"_s);
    QFile::copy(QStringLiteral(BRELIX_BUILT_TEMPLATE), path(u"t.xls"_s));
    for (const QString& name : {u"a.xls"_s, u"b/A.XLS"_s, u"e.xls"_s})
        QFile(path(name)).open(QIODevice::WriteOnly);
    QFile whole(path(u"t.xls"_s)), cut(path(u"c.xls"_s));
    whole.open(QIODevice::ReadOnly);
    cut.open(QIODevice::WriteOnly);
    cut.write(whole.readAll().chopped(512));
    cut.close();
    const QString t = path(u"t.xls"_s), a = path(u"a.xls"_s), b = path(u"b/A.XLS"_s);
    const QString none = path(u"none.xls"_s), folder = path(u"b"_s);
    const QList<std::tuple<QString, QString, QString, std::optional<DiffRefusal>>> cases = {
        {t, u" "_s + a + u"\t"_s, u" "_s + t, std::nullopt}, // blanks around a path
        {none, a, a, DiffRefusal::MissingTemplate},          // before every other fault
        {folder, a, t, DiffRefusal::MissingTemplate},
        {path(u"e.xls"_s), a, a, DiffRefusal::DamagedTemplate},
        {path(u"c.xls"_s), a, a, DiffRefusal::DamagedTemplate},
        {t, a, b, DiffRefusal::SameFileName},         // case and folders do not count
        {t, u" "_s, none, DiffRefusal::SameFileName}, // two missing files have the same name
        {t, QString(), t, DiffRefusal::FilesNotSelected},
        {t, a, folder, DiffRefusal::FilesNotSelected},
    };
    for (const auto& [templ, first, second, refusal] : cases)
        EXPECT_EQ(checkDiffInputs(templ, first, second), refusal)
            << first.toStdString() << " | " << second.toStdString();
}

} // namespace
} // namespace brelix::compare
