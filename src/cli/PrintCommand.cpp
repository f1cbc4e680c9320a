#include "cli/PrintCommand.h"

#include "cli/CliText.h"
#include "cli/TerminalRunUi.h"
#include "core/print/PrintRun.h"
#include "core/run/ResponsiveHostFactory.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using brelix::print::PrintEnding;

namespace brelix::cli {

namespace {

enum PrintExit : int {
    ExitAllPrinted = 0,
    ExitSomeFailed = 1,
    ExitRefused = 2,
};

QString usage()
{
    return QCoreApplication::translate(
        "PrintCommand",
        "Usage: brelix-cli print FILE... --scope 0|1|2|3 [--pdf DIR] [--jobs N] [--yes]\n");
}

// BRELIX_PDF_DIR for the life of a run, then as it was.
class PdfFolderSetting {
public:
    explicit PdfFolderSetting(const QString& folder)
        : m_set(!folder.isEmpty()), m_had(qEnvironmentVariableIsSet("BRELIX_PDF_DIR")),
          m_before(qgetenv("BRELIX_PDF_DIR"))
    {
        if (m_set)
            qputenv("BRELIX_PDF_DIR", QFile::encodeName(folder));
    }
    ~PdfFolderSetting()
    {
        if (!m_set)
            return;
        if (m_had)
            qputenv("BRELIX_PDF_DIR", m_before);
        else
            qunsetenv("BRELIX_PDF_DIR");
    }
    PdfFolderSetting(const PdfFolderSetting&) = delete;
    PdfFolderSetting& operator=(const PdfFolderSetting&) = delete;

private:
    bool m_set;
    bool m_had;
    QByteArray m_before;
};

int exitStatus(const print::PrintOutcome& outcome)
{
    switch (outcome.ending) {
    case PrintEnding::Finished:
        return outcome.failures.isEmpty() ? ExitAllPrinted : ExitSomeFailed;
    case PrintEnding::Cancelled:
    case PrintEnding::NothingSelected:
    case PrintEnding::NoScope:
    case PrintEnding::Declined:
    case PrintEnding::OfficeOpen:
        break;
    }
    return ExitRefused;
}

} // namespace

PrintCommand::PrintCommand(host::SpreadsheetHostFactory& factory, QTextStream& in, bool inputEchoed,
                           bool progressLine, int defaultOffices)
    : CliCommand(
          u"print"_s,
          QCoreApplication::translate(
              "PrintCommand", "Print workbooks in one go, whole or their first sheet or page"),
          usage()),
      m_factory(factory), m_in(in), m_inputEchoed(inputEchoed), m_progressLine(progressLine),
      m_defaultOffices(defaultOffices)
{
}

QString PrintCommand::description() const
{
    return QCoreApplication::translate("PrintCommand", R"help(
Prints each FILE in turn, as the print button does with the selected files: private
offices for the run, each workbook opened, printed with the scope and closed unsaved.
The files are never written.

Scopes:
  0  every sheet, every page (one print job per workbook)
  1  the first sheet, every page
  2  the first page of every sheet (one print job per sheet)
  3  the first page of the first sheet

Every print goes to the default printer, or with --pdf (or BRELIX_PDF_DIR) to a new PDF
file in that folder: WORKBOOK.pdf for scope 0, WORKBOOK-SHEET.pdf for the others, with
" (2)", " (3)", ... added rather than writing over a file that is there.

Several offices open the workbooks at once (see --jobs); each workbook is printed once
those before it have printed, so the print jobs go out in the order of the FILEs.

Before anything starts the run asks "%1" on stderr and reads the answer from stdin:
"y" or "yes" prints, anything else (or no input) stops. The run's messages go to stderr as
"TITLE: TEXT"; the completion message names every file that did not print, and a line
"brelix-cli print: FILE: REASON" follows for each. While stderr is a terminal, one line there
shows the progress. Ctrl+C stops the run after the workbook being printed; a second Ctrl+C
ends the program.

)help")
               .arg(QCoreApplication::translate("PrintRun", "最終確認")) +
           optionsHelp() + QCoreApplication::translate("PrintCommand", R"help(
Exit status: 0 when every file printed, 1 when some file could not be opened or printed,
2 when the run was declined, refused (an office handed over by an earlier run is still open)
or stopped with Ctrl+C, or for a usage error.
)help");
}

QList<QCommandLineOption> PrintCommand::options() const
{
    return {
        QCommandLineOption(u"scope"_s,
                           QCoreApplication::translate("PrintCommand",
                                                       "what to print of each workbook (required)"),
                           u"0|1|2|3"_s),
        QCommandLineOption(
            u"pdf"_s,
            QCoreApplication::translate("PrintCommand",
                                        "print to PDF files in the folder DIR, which must exist"),
            u"DIR"_s),
        jobsOption(QCoreApplication::translate("PrintCommand", "open and print")),
        QCommandLineOption(u"yes"_s,
                           QCoreApplication::translate("PrintCommand", "print without asking")),
    };
}

std::optional<int> PrintCommand::parse(const QStringList& arguments, Options& options,
                                       QTextStream& out, QTextStream& err) const
{
    QCommandLineParser parser;
    if (const std::optional<int> status = readArguments(parser, arguments, out, err))
        return status;
    const QStringList files = parser.positionalArguments();
    const QString scopeText = parser.value(u"scope"_s);
    const QString pdfFolder = parser.value(u"pdf"_s);
    if (files.isEmpty())
        return usageError(QCoreApplication::translate("PrintCommand", "at least one file to print"),
                          err);
    if (!parser.isSet(u"scope"_s))
        return usageError(QCoreApplication::translate("PrintCommand", "--scope is required"), err);
    if (!QStringList{u"0"_s, u"1"_s, u"2"_s, u"3"_s}.contains(scopeText))
        return usageError(
            QCoreApplication::translate("PrintCommand", "--scope is 0, 1, 2 or 3, not '%1'")
                .arg(scopeText),
            err);
    if (parser.isSet(u"pdf"_s) && !QFileInfo(pdfFolder).isDir())
        return usageError(QCoreApplication::translate("PrintCommand", "--pdf names no folder: '%1'")
                              .arg(pdfFolder),
                          err);
    if (const std::optional<int> status =
            readOfficeCount(parser, m_defaultOffices, options.offices, err))
        return status;

    for (const QString& file : files)
        options.request.entries.append({file, QFileInfo(file).absoluteFilePath(), true});
    options.request.scope = print::printScopeOf(scopeText.toInt());
    if (parser.isSet(u"pdf"_s))
        options.pdfFolder = QFileInfo(pdfFolder).absoluteFilePath();
    options.yes = parser.isSet(u"yes"_s);
    return std::nullopt;
}

int PrintCommand::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options;
    if (const std::optional<int> status = parse(arguments, options, out, err))
        return *status;

    TerminalRunUi ui(err, m_progressLine, std::nullopt);
    if (options.yes)
        ui.answerQuestionsYes();
    else
        ui.askQuestionsOn(m_in, m_inputEchoed);
    print::PrintOutcome outcome;
    {
        const PdfFolderSetting pdfs(options.pdfFolder);
        const InterruptWatch interrupts;
        run::ResponsiveHostFactory factory(m_factory, ui);
        print::PrintRun print(factory, ui);
        print.useOffices(m_factory, options.offices);
        outcome = print.start(options.request);
    }
    for (const print::PrintFailure& failure : outcome.failures)
        err << u"brelix-cli print: "_s << failure.name << u": "_s << oneLine(failure.reason)
            << u'\n';
    err.flush();
    return exitStatus(outcome);
}

} // namespace brelix::cli
