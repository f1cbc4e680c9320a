#include "core/print/PrintRun.h"

#include "EnglishTexts.h"
#include "RunBench.h"
#include "TestData.h"

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
    int offices = 1;
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

    PrintRun print(bench.m_factory, bench.m_ui);
    print.useOffices(bench.m_factory, scenario.offices);
    const PrintOutcome outcome = print.start(request);

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

// The print a line of tests/data/print-cases.txt describes.
Scenario scenarioOf(const QStringList& line)
{
    Scenario s{.name = line[0]};
    for (const QString& option : line.mid(1)) {
        const QString key = option.section(u'=', 0, 0), value = option.section(u'=', 1);
        const int number = value.toInt();
        if (key == u"files"_s)
            s.listed = value.split(u' ');
        else if (key == u"numbered"_s)
            for (int i = 1; i <= number; ++i)
                s.listed.append(u"%1.xls"_s.arg(i));
        else if (key == u"scope"_s)
            s.scope = number >= 0 && number <= 3 ? std::optional(PrintScope(number)) : std::nullopt;
        else if (key == u"sheets"_s)
            s.sheets = number;
        else if (key == u"cancel-at"_s)
            s.user.cancelAtEvent = number;
        else if (key == u"fail"_s)
            s.failingCall = value;
        else if (key == u"unavailable"_s || key == u"print-failed"_s)
            s.failure = key == u"unavailable"_s ? HostError::Kind::Unavailable
                                                : HostError::Kind::PrintFailed;
        else
            EXPECT_TRUE(key == u"declined"_s || key == u"handed-over"_s || key == u"no-office"_s)
                << option.toStdString();
        s.declined = s.declined || key == u"declined"_s;
        s.user.officeHandedOver = s.user.officeHandedOver || key == u"handed-over"_s;
        s.noOffice = s.noOffice || key == u"no-office"_s;
    }
    return s;
}

// Each batch print as the user sees it: its ending, the files that did not print, everything
// it showed, the main window and folder history, and what its office opened and printed.
QString printTranscripts()
{
    QString transcripts;
    for (const QStringList& line : support::caseRows(u"print-cases.txt"_s))
        transcripts += u"== "_s + line[0] + u'\n' + transcript(scenarioOf(line));
    return transcripts;
}

// In English no print asks or tells anything in Japanese.
TEST(PrintRunTest, EachPrintEndsShowsAndPrintsAsItsTranscriptSaysInEitherLanguage)
{
    run::expectGolden(u"print-runs.txt"_s, printTranscripts());
    const support::EnglishTexts english;
    EXPECT_EQ(support::japaneseLines(printTranscripts()), QStringList());
}

// Three offices print what one prints, in the same order, and show the same. Cancel points
// and failures of the first office depend on the offices, so those prints are left out.
TEST(PrintRunTest, SeveralOfficesPrintWhatOnePrintsInItsOrder)
{
    for (const QStringList& line : support::caseRows(u"print-cases.txt"_s)) {
        const QString options = line.join(u' ');
        if (options.contains(u"cancel-at="_s) || options.contains(u"fail="_s))
            continue;
        Scenario several = scenarioOf(line);
        several.offices = 3;
        EXPECT_EQ(run::withoutOffices(transcript(several)),
                  run::withoutOffices(transcript(scenarioOf(line))))
            << line[0].toStdString();
    }
}

} // namespace
} // namespace brelix::print
