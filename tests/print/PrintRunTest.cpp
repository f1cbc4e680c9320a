#include "core/print/PrintRun.h"

#include "RunBench.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::host::HostError;
using brelix::support::WorkbookContent;

namespace brelix::print {
namespace {

const QStringList kEndings =
    u"Finished Cancelled NothingSelected NoScope Declined OfficeOpen"_s.split(u' ');

// One way to run a batch print and what should differ from an ordinary one.
struct Scenario {
    QString name{};
    QStringList listed{}; // names in the folder; "-" before one leaves it unselected
    std::optional<PrintScope> scope = PrintScope::AllSheetsAllPages;
    int sheets = 4;        // of every workbook, saved on its last
    bool declined = false; // the user answers No
    run::UserScript user{};
    QString failingCall{}; // in the first office
    HostError::Kind failure = HostError::Kind::General;
    bool noOffice = false;
};

// The run of a scenario over a folder of workbooks ("gone.xls" is missing), and what it
// showed and printed.
QString transcript(const Scenario& scenario)
{
    run::RunBench bench(scenario.user);
    WorkbookContent book = WorkbookContent::withSheets(
        QStringList({u"表紙"_s, u"一"_s, u"二"_s, u"三"_s}).mid(0, scenario.sheets));
    book.activeSheet = scenario.sheets;
    PrintRequest request;
    request.scope = scenario.scope;
    for (QString name : scenario.listed) {
        const bool selected = !name.startsWith(u'-');
        name.remove(u'-');
        bench.put(name, name == u"gone.xls"_s ? WorkbookContent() : book);
        request.entries += listedEntries(bench.m_dir.path(), {name}, {selected});
    }
    bench.m_ui.setAnswer(scenario.declined ? run::MessageAnswer::No : run::MessageAnswer::Yes);
    bench.m_factory.setFailStart(scenario.noOffice);
    bench.failInFirstOffice(scenario.failingCall, scenario.failure);
    QStringList events;
    request.updateFolderHistory = [&] { events.append(u"folder history"_s); };
    request.setMainWindowEnabled = [&](bool enabled) {
        events.append(u"main window %1 after %2"_s.arg(enabled ? u"on"_s : u"off"_s)
                          .arg(bench.m_ui.calls().value(bench.m_ui.calls().size() - 1)));
    };

    const PrintOutcome outcome = PrintRun(bench.m_factory, bench.m_ui).start(request);

    QString text = u"ending %1, %2 printed\n"_s.arg(kEndings[static_cast<int>(outcome.ending)])
                       .arg(outcome.printed);
    for (const PrintFailure& failure : outcome.failures)
        text += u"  not printed: %1 (%2)\n"_s.arg(
            failure.name, QString(failure.reason).remove(bench.m_dir.path()));
    for (int i = 0; i < bench.m_factory.startCount(); ++i)
        text += u"busy time-out %1 ms, %2\n"_s.arg(bench.m_factory.host(i).busyTimeout().count())
                    .arg(bench.m_factory.host(i).isVisible() ? u"visible"_s : u"hidden"_s);
    return text + u"events: "_s + events.join(u" / "_s) + u'\n' +
           bench.screenAndOffices({u"openWorkbook"_s, u"activateSheet"_s, u"sheetCount"_s,
                                   u"printWorkbook"_s, u"printSheet"_s, u"closeAllWorkbooks"_s});
}

// Each batch print as the user sees it: its ending, the files that did not print, everything
// it showed, the main window and folder history, and what its office opened and printed.
TEST(PrintRunTest, EachPrintEndsShowsAndPrintsAsItsTranscriptSays)
{
    QStringList many;
    for (int i = 1; i <= 101; ++i)
        many.append(u"%1.xls"_s.arg(i));
    const QStringList one = {u"b.xls"_s};
    const QList<Scenario> scenarios = {
        {.name = u"first sheet, all pages"_s,
         .listed = one,
         .scope = PrintScope::FirstSheetAllPages},
        {.name = u"all sheets, first page"_s,
         .listed = one,
         .scope = PrintScope::AllSheetsFirstPage},
        {.name = u"first sheet, first page"_s,
         .listed = one,
         .scope = PrintScope::FirstSheetFirstPage},
        {.name = u"an unselected file between two"_s,
         .listed = {u"a.xls"_s, u"-skipped.xls"_s, u"c.xls"_s},
         .sheets = 1},
        {.name = u"more than a hundred files"_s, .listed = many, .sheets = 1},
        {.name = u"an empty list"_s},
        {.name = u"nothing selected"_s, .listed = {u"-a.xls"_s, u"-b.xls"_s}},
        {.name = u"no scope"_s, .listed = one, .scope = std::nullopt},
        {.name = u"declined"_s, .listed = one, .declined = true},
        {.name = u"an office handed over earlier still open"_s,
         .listed = one,
         .user = {.officeHandedOver = true}},
        // Events: progress shown, office started, then one after each workbook or sheet.
        {.name = u"cancel after the third of five"_s,
         .listed = {u"1.xls"_s, u"2.xls"_s, u"3.xls"_s, u"4.xls"_s, u"5.xls"_s},
         .sheets = 1,
         .user = {.cancelAtEvent = 5}},
        {.name = u"cancel after the second sheet"_s,
         .listed = {u"1.xls"_s, u"2.xls"_s},
         .scope = PrintScope::AllSheetsFirstPage,
         .user = {.cancelAtEvent = 4}},
        {.name = u"files that do not print"_s,
         .listed = {u"broken.xls"_s, u"gone.xls"_s, u"good.xls"_s},
         .scope = PrintScope::AllSheetsFirstPage,
         .failingCall = u"printSheet"_s,
         .failure = HostError::Kind::PrintFailed},
        {.name = u"an office that dies"_s,
         .listed = {u"a.xls"_s, u"b.xls"_s},
         .failingCall = u"printWorkbook"_s,
         .failure = HostError::Kind::Unavailable},
        {.name = u"no office"_s, .listed = {u"a.xls"_s, u"b.xls"_s}, .noOffice = true},
    };
    QString transcripts;
    for (const Scenario& scenario : scenarios)
        transcripts += u"== "_s + scenario.name + u'\n' + transcript(scenario);
    run::expectGolden(u"print-runs.txt"_s, transcripts);
}

} // namespace
} // namespace brelix::print
