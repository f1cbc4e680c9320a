#include "core/search/SearchRun.h"

#include "GridWorkbooks.h"
#include "RunBench.h"
#include "core/search/HitFile.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::HostError;
using brelix::support::gridSheet;
using brelix::support::SheetContent;
using brelix::support::WorkbookContent;
using brelix::support::workbookOf;

namespace brelix::search {
namespace {

const QStringList kEndings = u"Finished CutShort Cancelled PasswordFailed Failed EmptyText "
                             u"NoSelection MissingTemplate OfficeOpen"_s.split(u' ');

SheetContent sheetWith(const QString& name, const QList<std::tuple<int, int, QString>>& texts)
{
    SheetContent sheet;
    sheet.name = name;
    for (const auto& [row, column, text] : texts)
        sheet.setCell(row, column, CellContent::ofText(text));
    return sheet;
}

// One way to run a search and what should differ from an ordinary one.
struct Scenario {
    QString name{};
    // The selected workbooks, in list order; a.xls with "abc" in A1 unless told.
    QList<std::pair<QString, WorkbookContent>> books = {
        {u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})})}};
    QString text = u"abc"_s;
    bool caseSensitive = false;
    bool keepHitFile = false;
    bool openHitWorkbooks = true;
    run::UserScript user{};
    bool noTemplate = false;
    bool damagedTemplate = false;
    bool noHitFileFolder = false;
    bool noResultsFolder = false;
    bool readOnlyResults = false;
    QString failingCall{}; // fails at its first use in the first office
    HostError::Kind failure = HostError::Kind::General;
    int failingOffices = 1;
    int failingUse = 1;
    bool noSizeLimit = false;
    int resultsSheetRows = files::kResultsSheetRows;
};

// The run of a scenario over files in a folder of their own (a workbook without sheets is
// missing), and what it showed, found, read and saved.
QString transcript(const Scenario& scenario)
{
    run::RunBench bench(scenario.user);
    const WorkbookContent templ = WorkbookContent::withSheets({u"変更履歴"_s, u"Grep結果"_s});
    SearchSettings settings{scenario.text,
                            scenario.caseSensitive,
                            {},
                            bench.put(u"Brelix_Format.xls"_s, templ),
                            bench.put(u"Brelix.xls"_s, {}),
                            bench.put(u"Brelix.grp"_s, {}),
                            scenario.keepHitFile};
    settings.openHitWorkbooks = scenario.openHitWorkbooks;
    settings.noSizeLimit = scenario.noSizeLimit;
    settings.resultsSheetRows = scenario.resultsSheetRows;
    bench.copyTemplate(settings.templatePath, settings.outputPath);
    for (const auto& [name, content] : scenario.books)
        settings.targets.append({name, bench.put(name, content)});
    if (scenario.noTemplate)
        QFile::remove(settings.templatePath);
    if (scenario.damagedTemplate)
        QFile(settings.templatePath).resize(1024);
    if (scenario.noHitFileFolder)
        settings.hitFilePath = bench.put(u"none/Brelix.grp"_s, {});
    if (scenario.noResultsFolder)
        settings.outputPath = bench.put(u"none/Brelix.xls"_s, {});
    bench.putPreviousResult(settings.outputPath, scenario.readOnlyResults);
    bench.failInFirstOffice(scenario.failingCall, scenario.failure, scenario.failingOffices,
                            scenario.failingUse);
    int accepted = 0;

    const SearchOutcome outcome =
        SearchRun(bench.m_factory, bench.m_ui, bench.m_password).start(settings, [&] {
            ++accepted;
        });

    QString text = u"ending %1, %2 hits, histories moved %3 times, skipped: %4\n"_s
                       .arg(kEndings[static_cast<int>(outcome.ending)])
                       .arg(outcome.hits.size())
                       .arg(accepted)
                       .arg(outcome.skippedFiles.join(u", "_s));
    for (const HitRecord& hit : run::firstAndLast(outcome.hits, 4))
        text += u"  "_s + HitFile::line(hit.fields()).replace(u'\n', u"\\n"_s) + u'\n';
    text += bench.screenAndOffices({u"openWorkbook"_s, u"rangeTexts"_s});
    text += u"hit file: %1 lines\n"_s.arg(
                QFile::exists(settings.hitFilePath)
                    ? QString::number(HitFile::read(settings.hitFilePath).size())
                    : u"no"_s) +
            bench.previousResult(settings.outputPath);
    if (bench.handedOver()) {
        const WorkbookContent results = *bench.m_factory.savedContent(settings.outputPath);
        text += u"%1 sheet(s) saved, "_s.arg(results.sheets.size());
        for (const SheetContent& sheet : results.sheets)
            text += run::sheetText(sheet);
    }
    return text;
}

// Each search as the user and the files see it: its ending, its hits, everything it showed,
// its offices and windows, what it read and opened, and the results and hit file it left.
TEST(SearchRunTest, EachSearchEndsShowsAndSavesAsItsTranscriptSays)
{
    const WorkbookContent forms = workbookOf({sheetWith(u"S"_s, {{1, 1, u"ABC"_s},
                                                                 {1, 2, u"Abc"_s},
                                                                 {2, 1, u"ab c"_s},
                                                                 {2, 2, u"xabcx"_s},
                                                                 {3, 1, u"abc abc"_s}})});
    const WorkbookContent one = Scenario().books[0].second;
    const WorkbookContent two =
        workbookOf({sheetWith(u"one"_s, {{1, 1, u"abc"_s}, {2, 1, u"abc"_s}}),
                    sheetWith(u"two"_s, {{12, 28, u"abc"_s}})});
    const WorkbookContent none = workbookOf({sheetWith(u"none"_s, {{1, 1, u"xyz"_s}})});
    const WorkbookContent quoted =
        workbookOf({sheetWith(u"a,b"_s, {{1, 52, u"abc, \"x\"\nline"_s}})});
    // 20000 cells: over the limit of 16382 at its first sheet; 10000 + 6382: just within.
    const WorkbookContent big = workbookOf({gridSheet(u"big"_s, 200, 100)});
    const WorkbookContent fits =
        workbookOf({gridSheet(u"a"_s, 100, 100), gridSheet(u"b"_s, 6382, 1)});
    WorkbookContent over = fits;
    over.sheets.append(sheetWith(u"c"_s, {{1, 1, u"abc"_s}}));
    QList<SheetContent> sheets;
    for (int s = 1; s <= 3; ++s)
        sheets.append(sheetWith(u"S%1"_s.arg(s), {{1, 1, u"abc"_s}, {3, 2, u"y"_s}}));
    WorkbookContent locked =
        workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}}), sheetWith(u"L"_s, {{1, 1, u"abc"_s}})});
    locked.sheets[1].isProtected = true;
    locked.sheets[1].password = u"pw"_s;
    const QList<Scenario> scenarios = {
        {.name = u"case ignored"_s, .books = {{u"a.xls"_s, forms}}},
        {.name = u"case kept"_s,
         .books = {{u"a.xls"_s, forms}},
         .text = u"  abc "_s,
         .caseSensitive = true},
        {.name = u"hits across workbooks"_s,
         .books = {{u"a.xls"_s, two}, {u"b.xls"_s, none}, {u"q, \"x\".xls"_s, quoted}},
         .caseSensitive = true},
        {.name = u"hits across workbooks, for an office that ends with the run"_s,
         .books = {{u"a.xls"_s, two}, {u"b.xls"_s, none}, {u"q, \"x\".xls"_s, quoted}},
         .caseSensitive = true,
         .openHitWorkbooks = false},
        {.name = u"a single hit"_s, .keepHitFile = true},
        {.name = u"no hit"_s, .text = u"nothing like it"_s},
        {.name = u"over the cell limit, then within"_s,
         .books = {{u"big.xls"_s, big}, {u"fits.xls"_s, fits}},
         .text = u"100,"_s},
        {.name = u"the last one over the cell limit"_s, .books = {{u"over.xls"_s, over}}},
        // Four hits in a workbook past the cell limit, three a results sheet.
        {.name = u"no size limit, hits past a results sheet"_s,
         .books = {{u"big.xls"_s, big}},
         .text = u"99,10"_s,
         .noSizeLimit = true,
         .resultsSheetRows = 4},
        // Two hits, then a workbook past the cell limit: its notice would not fit below them.
        {.name = u"a notice past a results sheet"_s,
         .books = {{u"a.xls"_s,
                    workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}, {2, 1, u"abc"_s}})})},
                   {u"big.xls"_s, big}},
         .resultsSheetRows = 4},
        {.name = u"a notice that just fits its results sheet"_s,
         .books = {{u"a.xls"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}})})},
                   {u"big.xls"_s, big}},
         .resultsSheetRows = 4},
        // Events: after the window shows, after cancel is enabled, after each extent, each
        // row. Sheet 1 takes events 3 to 6; event 8 is the first row of sheet 2.
        {.name = u"cancel in the second sheet"_s,
         .books = {{u"three.xls"_s, workbookOf(sheets)}, {u"later.xls"_s, one}},
         .keepHitFile = true,
         .user = {.cancelAtEvent = 8}},
        {.name = u"cancel at once"_s, .user = {.cancelAtEvent = 4}},
        {.name = u"no password"_s, .books = {{u"a.xls"_s, locked}}},
        {.name = u"a password"_s,
         .books = {{u"a.xls"_s, locked}},
         .user = {.passwords = {u"pw"_s}}},
        {.name = u"nothing to search for"_s, .text = u"   "_s},
        {.name = u"an office handed over earlier still open"_s, .user = {.officeHandedOver = true}},
        {.name = u"nothing selected"_s, .books = {}},
        {.name = u"no template"_s, .noTemplate = true},
        {.name = u"a template cut short"_s, .damagedTemplate = true},
        {.name = u"no folder for the hit file"_s, .noHitFileFolder = true},
        {.name = u"no folder for the results"_s, .noResultsFolder = true},
        {.name = u"read-only results"_s, .readOnlyResults = true},
        {.name = u"two workbooks over the cell limit"_s,
         .books = {{u"over.xls"_s, over}, {u"big.xls"_s, big}, {u"a.xls"_s, one}}},
        {.name = u"an office dies, a file is missing: the file read is read again"_s,
         .books = {{u"a.xls"_s, two}, {u"gone.xls"_s, {}}, {u"c.xls"_s, one}},
         .failingCall = u"rangeTexts"_s,
         .failure = HostError::Kind::Unavailable,
         .failingUse = 2},
        {.name = u"the office dies twice on a file"_s,
         .books = {{u"a.xls"_s, one}, {u"c.xls"_s, one}},
         .failingCall = u"rangeTexts"_s,
         .failure = HostError::Kind::Unavailable,
         .failingOffices = 2},
        {.name = u"results that cannot be saved"_s, .failingCall = u"saveWorkbook"_s},
    };
    QString transcripts;
    for (const Scenario& scenario : scenarios)
        transcripts += u"== "_s + scenario.name + u'\n' + transcript(scenario);
    run::expectGolden(u"search-runs.txt"_s, transcripts);
}

} // namespace
} // namespace brelix::search
