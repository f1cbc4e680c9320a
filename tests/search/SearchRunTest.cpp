#include "core/search/SearchRun.h"

#include "EnglishTexts.h"
#include "GridWorkbooks.h"
#include "RunBench.h"
#include "TestData.h"
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
    QString killingBook{}; // ends every office that reads it
    int offices = 1;
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
    if (!scenario.killingBook.isEmpty())
        bench.killOfficesOn(scenario.killingBook);
    int accepted = 0;

    SearchRun search(bench.m_factory, bench.m_ui, bench.m_password);
    search.useOffices(bench.m_factory, scenario.offices);
    const SearchOutcome outcome = search.start(settings, [&] { ++accepted; });

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

// The search a line of tests/data/search-cases.txt describes.
Scenario scenarioOf(const QStringList& line, const QHash<QString, WorkbookContent>& books)
{
    Scenario s{.name = line[0]};
    const QHash<QString, bool*> flags = {{u"case"_s, &s.caseSensitive},
                                         {u"keep"_s, &s.keepHitFile},
                                         {u"open"_s, &s.openHitWorkbooks},
                                         {u"no-template"_s, &s.noTemplate},
                                         {u"damaged-template"_s, &s.damagedTemplate},
                                         {u"no-hit-folder"_s, &s.noHitFileFolder},
                                         {u"no-results-folder"_s, &s.noResultsFolder},
                                         {u"read-only-results"_s, &s.readOnlyResults},
                                         {u"no-size-limit"_s, &s.noSizeLimit},
                                         {u"handed-over"_s, &s.user.officeHandedOver}};
    const QHash<QString, int*> numbers = {{u"rows"_s, &s.resultsSheetRows},
                                          {u"cancel-at"_s, &s.user.cancelAtEvent},
                                          {u"offices"_s, &s.failingOffices},
                                          {u"use"_s, &s.failingUse}};
    const QHash<QString, QString*> texts = {
        {u"text"_s, &s.text}, {u"killed"_s, &s.killingBook}, {u"fail"_s, &s.failingCall}};
    for (const QString& option : line.mid(1)) {
        const QString key = option.section(u'=', 0, 0), value = option.section(u'=', 1);
        if (key == u"books"_s) {
            s.books.clear();
            for (const QString& book : value.split(u'|', Qt::SkipEmptyParts))
                s.books.append({book.section(u':', 0, 0), books.value(book.section(u':', 1))});
        } else if (texts.contains(key)) {
            *texts[key] = value;
        } else if (key == u"password"_s) {
            s.user.passwords = {value};
        } else if (key == u"unavailable"_s) {
            s.failure = HostError::Kind::Unavailable;
        } else if (numbers.contains(key)) {
            *numbers[key] = value.toInt();
        } else {
            EXPECT_TRUE(flags.contains(key)) << option.toStdString();
            *flags.value(key, &s.caseSensitive) = value != u"0"_s;
        }
    }
    return s;
}

QHash<QString, WorkbookContent> testBooks()
{
    const WorkbookContent one = Scenario().books[0].second;
    // 20000 cells: over the limit of 16382 at its first sheet; 10000 + 6382: just within.
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
    return {
        {u"forms"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"ABC"_s},
                                                    {1, 2, u"Abc"_s},
                                                    {2, 1, u"ab c"_s},
                                                    {2, 2, u"xabcx"_s},
                                                    {3, 1, u"abc abc"_s}})})},
        {u"one"_s, one},
        {u"twice"_s, workbookOf({sheetWith(u"S"_s, {{1, 1, u"abc"_s}, {2, 1, u"abc"_s}})})},
        {u"two"_s, workbookOf({sheetWith(u"one"_s, {{1, 1, u"abc"_s}, {2, 1, u"abc"_s}}),
                               sheetWith(u"two"_s, {{12, 28, u"abc"_s}})})},
        {u"none"_s, workbookOf({sheetWith(u"none"_s, {{1, 1, u"xyz"_s}})})},
        {u"quoted"_s, workbookOf({sheetWith(u"a,b"_s, {{1, 52, u"abc, \"x\"\nline"_s}})})},
        {u"big"_s, workbookOf({gridSheet(u"big"_s, 200, 100)})},
        {u"fits"_s, fits},
        {u"over"_s, over},
        {u"three"_s, workbookOf(sheets)},
        {u"locked"_s, locked},
    };
}

// Each search as the user and the files see it: its ending, its hits, everything it showed,
// its offices and windows, what it read and opened, and the results and hit file it left.
QString searchTranscripts()
{
    const QHash<QString, WorkbookContent> books = testBooks();
    QString transcripts;
    for (const QStringList& line : support::caseRows(u"search-cases.txt"_s))
        transcripts += u"== "_s + line[0] + u'\n' + transcript(scenarioOf(line, books));
    return transcripts;
}

// In English no search shows or writes a Japanese word; the template's sheet names stay.
TEST(SearchRunTest, EachSearchEndsShowsAndSavesAsItsTranscriptSaysInEitherLanguage)
{
    run::expectGolden(u"search-runs.txt"_s, searchTranscripts());
    const support::EnglishTexts english;
    const QString transcripts = searchTranscripts();
    EXPECT_EQ(support::japaneseLines(transcripts), QStringList());
    EXPECT_TRUE(transcripts.contains(u"B=File name C=Sheet name D=Sheet No E=Cell F=Cell value"_s));
}

// Three offices give what one gives: the same hits and numbers, screen, questions, messages,
// results and hit file; a file that ends its offices is skipped alone. Cancel points and
// failures of the n-th call depend on the offices, so those searches are left out.
TEST(SearchRunTest, SeveralOfficesGiveWhatOneGives)
{
    const QHash<QString, WorkbookContent> books = testBooks();
    for (const QStringList& line : support::caseRows(u"search-cases.txt"_s)) {
        const QString options = line.join(u' ');
        if (options.contains(u"cancel-at="_s) || options.contains(u"fail="_s))
            continue;
        Scenario several = scenarioOf(line, books);
        several.offices = 3;
        EXPECT_EQ(run::withoutOffices(transcript(several)),
                  run::withoutOffices(transcript(scenarioOf(line, books))))
            << line[0].toStdString();
    }
}

} // namespace
} // namespace brelix::search
