#include "core/compare/DiffRun.h"

#include "EnglishTexts.h"
#include "GTestPrinters.h"
#include "GridWorkbooks.h"
#include "RunBench.h"
#include "TestData.h"
#include "core/compare/DiffRules.h"
#include "core/compare/ErrorReport.h"
#include "core/compare/SequenceMatcher.h"
#include "core/host/CellAddress.h"
#include "core/run/ResultsTurn.h"
#include "core/run/ResultsWorkbook.h"
#include "core/settings/SettingsNumber.h"

#include <QDir>
#include <QFile>
#include <QHash>
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

// A workbook as the scenario files write it (tests/data/diff-run-scenarios.txt explains).
WorkbookContent gridBook(const QString& text)
{
    WorkbookContent book;
    if (text == u"formula"_s || text == u"sum"_s) {
        book = workbookOf({gridSheet(u"S"_s, 1, 2)});
        book.sheets[0].setCell(1, 1, host::CellContent::ofNumber(2));
        if (text == u"sum"_s)
            book.sheets[0].cells[{1, 1}].formula = u"=1+1"_s;
        return book;
    }
    for (const QString& sheetText : text.split(u';')) {
        const QStringList f = sheetText.split(u':');
        const int rows = f[1].toInt(), columns = f[2].toInt();
        QList<std::pair<int, int>> changed;
        for (int cell = 0; f.value(3) == u"all"_s && cell < rows * columns; ++cell)
            changed.append({cell / columns + 1, cell % columns + 1});
        for (const QString& at : f.value(3).split(u'+', Qt::SkipEmptyParts))
            if (at != u"all"_s)
                changed.append({at.section(u',', 0, 0).toInt(), at.section(u',', 1).toInt()});
        book.sheets.append(gridSheet(QString(f[0]).remove(u'!'), rows, columns, changed));
        book.sheets.last().visible = !f[0].endsWith(u'!');
    }
    return book;
}

// The scenario a line of a scenario file describes: its name, then what differs.
Scenario scenarioOf(const QStringList& row)
{
    static const QHash<QString, bool Scenario::*> flags = {
        {u"byFormula"_s, &Scenario::byFormula},
        {u"colourDifferences"_s, &Scenario::colourDifferences},
        {u"coloursSeen"_s, &Scenario::coloursSeen},
        {u"sameFile"_s, &Scenario::sameFile},
        {u"noTemplate"_s, &Scenario::noTemplate},
        {u"readOnlyResult"_s, &Scenario::readOnlyResult},
        {u"noResultsFolder"_s, &Scenario::noResultsFolder},
        {u"damagedTemplate"_s, &Scenario::damagedTemplate},
        {u"align"_s, &Scenario::align},
        {u"noSizeLimit"_s, &Scenario::noSizeLimit}};
    Scenario s{.name = row[0]};
    for (const QString& option : row.mid(1)) {
        const QString key = option.section(u'=', 0, 0), value = option.section(u'=', 1);
        if (key == u"first"_s || key == u"second"_s)
            (key == u"first"_s ? s.first : s.second) = gridBook(value);
        else if (key == u"locked"_s)
            for (auto& sheet : s.first.sheets)
                sheet.isProtected = true, sheet.password = value;
        else if (key == u"layout"_s)
            s.layout = static_cast<WindowLayout>(value.toInt());
        else if (key == u"start"_s || key == u"last"_s)
            (key == u"start"_s ? s.startSheet : s.lastSheet) = value;
        else if (key == u"passwords"_s)
            s.user.passwords = value.split(u',');
        else if (key == u"cancelAtEvent"_s || key == u"historySheetRows"_s)
            (key == u"cancelAtEvent"_s ? s.user.cancelAtEvent : s.historySheetRows) = value.toInt();
        else if (key == u"failingCall"_s)
            s.failingCall = value;
        else if (key == u"officeHandedOver"_s)
            s.user.officeHandedOver = value == u"1"_s;
        else if (flags.contains(key))
            s.*flags.value(key) = value == u"1"_s;
        else
            ADD_FAILURE() << "unknown option " << option.toStdString();
    }
    return s;
}

// Each run as the user and the files see it: its ending, its records, everything it showed,
// its offices, the windows it placed, the cells it coloured and the change history it saved
// (the scenarios of tests/data/diff-run-scenarios.txt).
QString diffTranscripts()
{
    QString transcripts;
    for (const QStringList& row : support::caseRows(u"diff-run-scenarios.txt"_s))
        transcripts += u"== "_s + row[0] + u'\n' + Comparison(scenarioOf(row)).transcript();
    return transcripts;
}

// In English no run shows or writes a Japanese word; the template's sheet names stay.
TEST(DiffRunTest, EachRunEndsShowsAndSavesAsItsTranscriptSaysInEitherLanguage)
{
    run::expectGolden(u"diff-runs.txt"_s, diffTranscripts());
    const support::EnglishTexts english;
    const QString transcripts = diffTranscripts();
    EXPECT_EQ(support::japaneseLines(transcripts, {u"売上"_s, u"経費"_s}), QStringList());
    // The template's headings are written over in English.
    EXPECT_TRUE(transcripts.contains(u"B=Sheet name C=Sheet No D=Cell E=File 1 F=File 2"_s));
}

// A run whose results folder another run holds waits its turn, its window answering and its
// cancel on; cancelled while it waits, it ends before any office starts, the previous change
// history kept.
TEST(DiffRunTest, ARunWaitsItsTurnBehindAnotherLeavingResultsInItsFolder)
{
    Comparison comparison(Scenario{.user = {.cancelAtEvent = 3}});
    support::ScriptedRunUi otherRun;
    run::ResultsTurn other(comparison.m_settings.outputPath);
    ASSERT_TRUE(other.take(otherRun));
    const QString transcript = comparison.transcript();
    EXPECT_TRUE(transcript.startsWith(u"ending Cancelled, 0 records"_s))
        << transcript.toStdString();
    EXPECT_TRUE(transcript.contains(u"cancelEnabled(1) / events / cancelEnabled(1) / events"_s))
        << transcript.toStdString();
    EXPECT_FALSE(transcript.contains(u"office:"_s)) << transcript.toStdString();
    EXPECT_TRUE(transcript.contains(u"previous result kept"_s)) << transcript.toStdString();
}

// With its two workbooks in offices of their own, loaded and read side by side, a run ends,
// reports, colours and saves exactly as in one office.
TEST(DiffRunTest, TwoOfficesFindColourAndSaveWhatOneDoes)
{
    for (const QStringList& row : support::caseRows(u"diff-two-offices.txt"_s)) {
        const Scenario scenario = scenarioOf(row);
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
            const QStringList opened =
                comparison.m_factory.lastHost().calls().filter(u"openWorkbook"_s);
            EXPECT_EQ(opened.value(0).contains(u"Book2"_s), twoOffices);
        }
        EXPECT_EQ(seen[1].toStdString(), seen[0].toStdString());
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

// Pairing by key, by sheet name and by matched rows and columns, and the rules of equality,
// alone and together, with the records and colours each gives (tests/data/compare-options.txt
// and matched-rows-options.txt).
TEST(DiffRunTest, KeysSheetNamesMatchedRowsAndRulesGiveTheRecordsOfTheirCases)
{
    const QList<QStringList> lines = support::caseRows(u"compare-options.txt"_s) +
                                     support::caseRows(u"matched-rows-options.txt"_s);
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
        const QString colouring =
            comparison.m_factory.lastHost().calls().filter(u"fillCells("_s).join(u' ');
        EXPECT_EQ(fills.isEmpty() ? QString() : colouring, fills.value(0)) << name;
        // The change history names the kinds only where the terminal does.
        const DiffSettings& settings = comparison.m_settings;
        const WorkbookContent history = *comparison.m_factory.savedContent(settings.outputPath);
        for (int n = 0; n < outcome.records.size(); ++n)
            EXPECT_EQ(history.sheets[0].cell(n + 2, 8).text,
                      settings.recordsKinds() ? changeKindCaption(outcome.records[n].kind)
                                              : QString())
                << name;
    }
}

// Lines matched step by step as tests/data/sequence-matches.txt says, then a long run.
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
    for (const QStringList& c : support::caseRows(u"sequence-matches.txt"_s))
        EXPECT_EQ(steps(c[0], c[1]), c[2]) << c[0].toStdString() << " | " << c[1].toStdString();

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
    QFile cut(path(u"c.xls"_s));
    cut.open(QIODevice::WriteOnly);
    cut.write(support::bytesOf(path(u"t.xls"_s)).chopped(512));
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
