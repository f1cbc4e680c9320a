#include "cli/GrepCommand.h"

#include "core/files/ProgramFiles.h"
#include "core/files/ProgramFolder.h"
#include "core/search/HitFile.h"
#include "core/search/SearchRun.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;
using brelix::search::SearchEnding;

namespace brelix::cli {

namespace {

enum GrepExit : int {
    ExitHits = 0,
    ExitNoHits = 1,
    ExitNotSearched = 2,
};

QString usage()
{
    return QCoreApplication::translate(
        "GrepCommand", "Usage: brelix-cli grep TEXT FILE... [--case] [--no-limit] [--jobs N] "
                       "[--password PW]\n"
                       "                       [--show]\n");
}

int exitStatus(const search::SearchOutcome& outcome)
{
    switch (outcome.ending) {
    case SearchEnding::Finished:
    case SearchEnding::CutShort:
        return outcome.hits.isEmpty() ? ExitNoHits : ExitHits;
    case SearchEnding::Cancelled:
    case SearchEnding::PasswordFailed:
    case SearchEnding::Failed:
    case SearchEnding::EmptyText:
    case SearchEnding::NoSelection:
    case SearchEnding::MissingTemplate:
    case SearchEnding::OfficeOpen:
        break;
    }
    return ExitNotSearched;
}

} // namespace

GrepCommand::GrepCommand(FactoryFor factoryFor, bool progressLine, int defaultOffices)
    : OfficeJobCommand(
          u"grep"_s,
          QCoreApplication::translate(
              "GrepCommand",
              "Search a text in the cell values of workbooks and list every cell that holds it"),
          usage(), std::move(factoryFor), progressLine),
      m_defaultOffices(defaultOffices)
{
}

QString GrepCommand::description() const
{
    return QCoreApplication::translate("GrepCommand", R"help(
Searches TEXT in the value of every cell of every worksheet of the FILEs, in the order
given, as the search button does for the selected files: same checks, same cell limit
(16382 cells per workbook), same endings. Blanks around TEXT are not searched. Formulas
are not searched, only the values they show. The hits are listed in the results workbook
Brelix.xls, made from Brelix_Format.xls in the program's folder (BRELIX_HOME when set,
else the folder of brelix-cli) and saved there; the FILEs are never written.

Each hit is one line on stdout, in the order found, as the hit file Brelix.grp holds it:
  NUMBER,FILE NAME,SHEET NAME,SHEET NUMBER,ADDRESS,CELL TEXT
A field holding a comma, a double quote or a line break is written between double quotes,
its double quotes doubled. Without --case the cell texts are upper-cased, as searched.

Every message of the run goes to stderr as "TITLE: TEXT"; a file that cannot be opened is
skipped and named at the end. While stderr is a terminal, one line there shows the
progress. Ctrl+C stops the search as the cancel button does.

Several offices search at once, each its own files (see --jobs); the hits, their numbers,
the results, the messages and the progress are those of one office searching the files in
turn. A file that ends or hangs its office is skipped alone and named at the end.

)help") + optionsHelp() +
           QCoreApplication::translate("GrepCommand", R"help(
Exit status: 0 when hits were found, 1 when none were found, 2 when the search was refused,
stopped or failed, or for a usage error.
)help");
}

QList<QCommandLineOption> GrepCommand::options() const
{
    QList<QCommandLineOption> list{
        QCommandLineOption(
            u"case"_s, QCoreApplication::translate("GrepCommand",
                                                   "letter case counts (abc does not find ABC)")),
        QCommandLineOption(u"no-limit"_s,
                           QCoreApplication::translate(
                               "GrepCommand",
                               "search every cell of every workbook, however large; hits past the\n"
                               "65536 rows of a results sheet go on in further sheets")),
        jobsOption(QCoreApplication::translate("GrepCommand", "search")),
    };
    return list +
           jobOptionList(u"search"_s,
                         QCoreApplication::translate(
                             "GrepCommand",
                             "hand the office over visible at the end, with the results and every\n"
                             "workbook that has hits open; without it the office ends"));
}

std::optional<int> GrepCommand::parse(const QStringList& arguments, Options& options,
                                      QTextStream& out, QTextStream& err) const
{
    QCommandLineParser parser;
    if (const std::optional<int> status = readArguments(parser, arguments, out, err))
        return status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < 2)
        return usageError(
            QCoreApplication::translate("GrepCommand", "a text to search and at least one file"),
            err);
    if (const std::optional<int> status = refuseFolders(positional.mid(1), err))
        return status;
    if (const std::optional<int> status =
            readOfficeCount(parser, m_defaultOffices, options.offices, err))
        return status;

    search::SearchSettings& settings = options.settings;
    QSet<QString> names;
    for (const QString& file : positional.mid(1)) {
        const QFileInfo info(file);
        // The office tells open workbooks apart by their file names only.
        if (names.contains(info.fileName()))
            return usageError(QCoreApplication::translate(
                                  "GrepCommand", "two files named '%1': search them one at a time")
                                  .arg(info.fileName()),
                              err);
        names.insert(info.fileName());
        settings.targets.append({info.fileName(), info.absoluteFilePath()});
    }
    settings.searchText = positional[0];
    settings.caseSensitive = parser.isSet(u"case"_s);
    settings.templatePath = files::programFile(files::kTemplateFile);
    settings.outputPath = files::programFile(files::kResultsFile);
    settings.hitFilePath = files::programFile(files::kHitFile);
    settings.keepHitFile = false; // its lines go to stdout
    settings.noSizeLimit = parser.isSet(u"no-limit"_s);
    options.job = jobOptions(parser);
    settings.openHitWorkbooks = options.job.show;
    return std::nullopt;
}

int GrepCommand::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options;
    if (const std::optional<int> status = parse(arguments, options, out, err))
        return *status;

    search::SearchOutcome outcome;
    runJob(options.job, err,
           [&](host::SpreadsheetHostFactory& factory, run::RunUi& ui, QString& typedPassword) {
               search::SearchRun search(factory, ui, typedPassword);
               search.useOffices(plainFactory(options.job.show), options.offices);
               outcome = search.start(options.settings, {});
           });
    for (const search::HitRecord& hit : outcome.hits)
        out << search::HitFile::line(hit.fields()) << u'\n';
    out.flush();
    return exitStatus(outcome);
}

} // namespace brelix::cli
