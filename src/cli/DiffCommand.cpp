#include "cli/DiffCommand.h"

#include "cli/CliText.h"
#include "core/compare/DiffRun.h"
#include "core/compare/FolderDiffRun.h"
#include "core/files/ProgramFiles.h"
#include "core/files/ProgramFolder.h"
#include "core/host/CellAddress.h"
#include "core/settings/SettingsNumber.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using brelix::compare::DiffEnding;

namespace brelix::cli {

namespace {

enum DiffExit : int {
    ExitNoDifference = 0,
    ExitDifferences = 1,
    ExitNotCompared = 2,
};

QString usage()
{
    return QCoreApplication::translate(
        "DiffCommand",
        "Usage: brelix-cli diff FILE1 FILE2 [--formulas] [--from N] [--to N] [--no-color]\n"
        "                       [--layout 0|1|2] [--align] [--key COLUMNS] [--by-name]\n"
        "                       [--ignore-case] [--ignore-width] [--ignore-blanks]\n"
        "                       [--tolerance X] [--ignore-columns COLUMNS]\n"
        "                       [--no-limit] [--password PW] [--show]\n"
        "       brelix-cli diff DIR1 DIR2 [the same options] [--jobs N]\n");
}

QString kindName(compare::ChangeKind kind)
{
    switch (kind) {
    case compare::ChangeKind::Changed:
        break;
    case compare::ChangeKind::RowInserted:
        return u"row-inserted"_s;
    case compare::ChangeKind::RowDeleted:
        return u"row-deleted"_s;
    case compare::ChangeKind::ColumnInserted:
        return u"column-inserted"_s;
    case compare::ChangeKind::ColumnDeleted:
        return u"column-deleted"_s;
    case compare::ChangeKind::SheetInserted:
        return u"sheet-inserted"_s;
    case compare::ChangeKind::SheetDeleted:
        return u"sheet-deleted"_s;
    }
    return u"changed"_s;
}

int exitStatus(const compare::DiffOutcome& outcome)
{
    switch (outcome.ending) {
    case DiffEnding::Finished:
        return outcome.records.isEmpty() ? ExitNoDifference : ExitDifferences;
    case DiffEnding::CutShort:
        return ExitDifferences;
    case DiffEnding::Cancelled:
    case DiffEnding::SheetCountsDiffer:
    case DiffEnding::StartBeyondLastSheet:
    case DiffEnding::PasswordFailed:
    case DiffEnding::Failed:
    case DiffEnding::Refused:
    case DiffEnding::OfficeOpen:
        break;
    }
    return ExitNotCompared;
}

// Any file failed: 2; any differs, was added or removed: 1; else 0.
int exitStatus(const compare::FolderDiffOutcome& outcome)
{
    if (outcome.ending != DiffEnding::Finished)
        return ExitNotCompared;
    int status = ExitNoDifference;
    for (const compare::FileResult& file : outcome.files) {
        if (file.status == compare::FileStatus::Failed)
            return ExitNotCompared;
        if (file.status != compare::FileStatus::Same)
            status = ExitDifferences;
    }
    return status;
}

// One line per record; `path`, when given, leads it as a field of its own.
void writeRecord(QTextStream& out, const compare::DiffRecord& record, bool kinds,
                 const QString& path = {})
{
    if (!path.isNull())
        out << escapeField(path) << u'\t';
    out << record.sequence << u'\t' << escapeField(record.sheetName) << u'\t' << record.sheetNumber
        << u'\t' << escapeField(record.address) << u'\t';
    if (kinds)
        out << escapeField(record.secondAddress) << u'\t';
    out << escapeField(record.firstText) << u'\t' << escapeField(record.secondText);
    if (kinds)
        out << u'\t' << kindName(record.kind);
    out << u'\n';
}

// A file's line, then its records; the notes of a file compared on stderr.
void writeFile(QTextStream& out, QTextStream& err, const compare::FileResult& file, bool kinds)
{
    if (file.status != compare::FileStatus::Failed && !file.note.isEmpty()) {
        err << u"brelix-cli diff: "_s << escapeField(file.path) << u": "_s << oneLine(file.note)
            << u'\n';
        err.flush();
    }
    out << escapeField(file.path) << u'\t';
    switch (file.status) {
    case compare::FileStatus::Same:
        out << u"same"_s;
        break;
    case compare::FileStatus::Changed:
        out << u"changed "_s << file.records.size();
        break;
    case compare::FileStatus::Added:
        out << u"added"_s;
        break;
    case compare::FileStatus::Removed:
        out << u"removed"_s;
        break;
    case compare::FileStatus::Failed:
        out << u"failed: "_s << oneLine(file.note);
        break;
    }
    out << u'\n';
    for (const compare::DiffRecord& record : file.records)
        writeRecord(out, record, kinds, file.path);
    out.flush();
}

// --key, --by-name and the rules of equality, in the order of the help.
QList<QCommandLineOption> pairingAndRuleOptions()
{
    return {
        QCommandLineOption(
            u"key"_s,
            QCoreApplication::translate(
                "DiffCommand",
                "pair rows by the texts of these columns (up to five letters: A or A,C)\n"
                "rather than by place: the n-th row with a key in FILE1 pairs with the\n"
                "n-th row with that key in FILE2, so that sorted or moved rows give no\n"
                "record; rows of one file only are row-deleted or row-inserted; with\n"
                "--align, columns are matched by content and rows by key"),
            u"COLUMNS"_s),
        QCommandLineOption(
            u"by-name"_s,
            QCoreApplication::translate(
                "DiffCommand",
                "pair sheets by name rather than by position; a sheet of one workbook\n"
                "only gives one sheet-deleted or sheet-inserted record, and differing\n"
                "sheet counts are compared (with --from or --to, only FILE1's sheets\n"
                "of the range take part and no sheet-inserted record is given)")),
        QCommandLineOption(
            u"ignore-case"_s,
            QCoreApplication::translate(
                "DiffCommand", "letters equal whatever their case (also full-width letters)")),
        QCommandLineOption(
            u"ignore-width"_s,
            QCoreApplication::translate(
                "DiffCommand",
                "texts compared as Unicode NFKC folds them: full-width letters, digits\n"
                "and signs, the ideographic space, half-width katakana")),
        QCommandLineOption(u"ignore-blanks"_s,
                           QCoreApplication::translate(
                               "DiffCommand",
                               "blanks at the start and end of a text do not count (space, tab,\n"
                               "ideographic space, line breaks)")),
        QCommandLineOption(
            u"tolerance"_s,
            QCoreApplication::translate(
                "DiffCommand",
                "two texts that both read as decimal numbers are equal when they differ\n"
                "by at most X"),
            u"X"_s),
        QCommandLineOption(
            u"ignore-columns"_s,
            QCoreApplication::translate(
                "DiffCommand",
                "these columns of FILE1 (letters: D or D,F) are not compared and give no\n"
                "record; records always show the texts as they are in the cells"),
            u"COLUMNS"_s),
    };
}

// --key, --by-name and the rules of equality; what is wrong with them, or nothing.
QString readPairingAndRules(const QCommandLineParser& parser, compare::DiffSettings& settings)
{
    const auto columnsOf = [&](const QString& option, int most) {
        return parser.isSet(option) ? host::columnList(parser.value(option), most)
                                    : std::optional<QList<int>>(QList<int>());
    };
    const std::optional<QList<int>> keys = columnsOf(u"key"_s, compare::kMostKeyColumns);
    if (!keys)
        return QCoreApplication::translate(
                   "DiffCommand",
                   "--key takes up to five column letters such as A or A,C, not '%1'")
            .arg(parser.value(u"key"_s));
    const std::optional<QList<int>> ignored = columnsOf(u"ignore-columns"_s, 16384);
    if (!ignored)
        return QCoreApplication::translate(
                   "DiffCommand",
                   "--ignore-columns takes column letters such as D or D,F, not '%1'")
            .arg(parser.value(u"ignore-columns"_s));
    compare::EqualityRules& rules = settings.equality;
    if (parser.isSet(u"tolerance"_s)) {
        rules.tolerance = settings::toleranceOf(parser.value(u"tolerance"_s));
        if (!rules.tolerance)
            return QCoreApplication::translate(
                       "DiffCommand", "--tolerance takes a decimal number of 0 or more, not '%1'")
                .arg(parser.value(u"tolerance"_s));
    }
    settings.keyColumns = *keys;
    rules.ignoredColumns = *ignored;
    rules.ignoreCase = parser.isSet(u"ignore-case"_s);
    rules.ignoreWidth = parser.isSet(u"ignore-width"_s);
    rules.ignoreBlanks = parser.isSet(u"ignore-blanks"_s);
    settings.bySheetName = parser.isSet(u"by-name"_s);
    return {};
}

} // namespace

DiffCommand::DiffCommand(FactoryFor factoryFor, bool progressLine, int defaultOffices)
    : OfficeJobCommand(
          u"diff"_s,
          QCoreApplication::translate(
              "DiffCommand", "Compare two workbooks cell by cell and list the differing cells"),
          usage(), std::move(factoryFor), progressLine),
      m_defaultOffices(defaultOffices)
{
}

QString DiffCommand::description() const
{
    return QCoreApplication::translate("DiffCommand", R"help(
Compares FILE1 and FILE2 sheet by sheet, as the compare button does: same checks, same
work budget, same endings. The differing cells are listed in the change history Brelix.xls,
made from Brelix_Format.xls in the program's folder (see 'brelix-cli --help') and saved
there, and coloured in both workbooks while the office shows them; FILE1 and FILE2 are
never written.

With two folders, DIR1 and DIR2, every workbook under them at any depth (.xls, .xlsx, .ods
and .csv; hidden files and linked folders are left out) is compared with the workbook of the
same relative path under the other folder, with the same options, in several offices at
once (--jobs), which give what one office gives. Each file gives one line on stdout, in the
order of their paths:
  PATH<TAB>same | changed N | added | removed | failed: REASON
and the line of a changed file is followed by its records, each led by PATH<TAB>. A file
that fails (damaged, say) fails alone; the notes of a file compared (hidden sheets, a
comparison cut short) go to stderr as "brelix-cli diff: PATH: NOTE". Brelix.xls then opens
with a summary sheet listing every file with its status and number of differences, and
holds the records of all files, each with its file; --show leaves only it open. A folder
and a file, the same folder twice or a folder inside the other are refused.

Each differing cell is one line on stdout, in the order found:
  SEQ<TAB>SHEET NAME<TAB>SHEET NUMBER<TAB>ADDRESS<TAB>FIRST TEXT<TAB>SECOND TEXT
With --align, --key or --by-name, each record is one line with both addresses and its kind:
  SEQ<TAB>SHEET NAME<TAB>SHEET NUMBER<TAB>FIRST ADDRESS<TAB>SECOND ADDRESS<TAB>FIRST TEXT
  <TAB>SECOND TEXT<TAB>KIND
KIND is changed, row-inserted, row-deleted, column-inserted, column-deleted, sheet-inserted
or sheet-deleted; an inserted cell has no first address or text, a deleted one no second
address or text, and an inserted or deleted sheet neither address nor text (an inserted
sheet carries its name and number in FILE2).
Backslash, tab, CR and LF in names and texts are written \\, \t, \r and \n.

Every message of the run goes to stderr as "TITLE: TEXT", an unexpected failure as its
whole error report, then one line with its reason (a file that is no workbook, say). While
stderr is a terminal, one line there shows the progress.
Ctrl+C stops the comparison as the cancel button does; a second Ctrl+C ends the program.

)help") + optionsHelp() +
           QCoreApplication::translate("DiffCommand", R"help(
Exit status: 0 when no difference was found, 1 when differences were found (also when the
workbooks were too large to compare in full), 2 when the comparison was refused, stopped
or failed, or for a usage error.
For two folders: 0 when every file is the same, 1 when any differs or was added or
removed, 2 when any failed (the others are still compared) or as above.
)help");
}

QList<QCommandLineOption> DiffCommand::options() const
{
    QList<QCommandLineOption> list{
        QCommandLineOption(
            u"formulas"_s,
            QCoreApplication::translate("DiffCommand", "compare formula texts instead of values")),
        QCommandLineOption(
            u"from"_s,
            QCoreApplication::translate("DiffCommand",
                                        "the first sheet to compare (1 when absent or below 1)"),
            u"N"_s),
        QCommandLineOption(
            u"to"_s,
            QCoreApplication::translate(
                "DiffCommand", "the last sheet to compare (the last sheet when absent or below 1)"),
            u"N"_s),
        QCommandLineOption(
            u"no-color"_s,
            QCoreApplication::translate(
                "DiffCommand",
                "leave the differing cells of the workbooks uncoloured; without --show,\n"
                "which leaves them open to be seen, they are not coloured anyway, but\n"
                "their colouring counts against the work budget as in the window")),
        QCommandLineOption(
            u"layout"_s,
            QCoreApplication::translate(
                "DiffCommand",
                "the windows: 0 both workbooks side by side above the change history\n"
                "(default), 1 all side by side, 2 all one above the other"),
            u"0|1|2"_s),
        QCommandLineOption(
            u"align"_s,
            QCoreApplication::translate(
                "DiffCommand",
                "match rows and columns by their content before comparing cells, so\n"
                "that inserted and deleted rows and columns show as such rather than as\n"
                "changes of every cell after them; the change history gains the columns\n"
                "of the second address and the kind")),
    };
    list += pairingAndRuleOptions();
    list.append(QCommandLineOption(
        u"no-limit"_s,
        QCoreApplication::translate(
            "DiffCommand",
            "compare every cell of every sheet, past the work budget; records\n"
            "past the 65536 rows of a change-history sheet go on in further sheets")));
    // Two files are compared in one office whatever it says.
    list.append(
        jobsOption(QCoreApplication::translate("DiffCommand", "compare the files of two folders")));
    return list + jobOptionList(
                      u"comparison"_s,
                      QCoreApplication::translate(
                          "DiffCommand",
                          "hand the office over visible when the comparison finishes, with both\n"
                          "workbooks and the change history open; without it the office ends"));
}

std::optional<int> DiffCommand::parse(const QStringList& arguments, Options& options,
                                      QTextStream& out, QTextStream& err) const
{
    QCommandLineParser parser;
    if (const std::optional<int> status = readArguments(parser, arguments, out, err))
        return status;
    const QStringList files = parser.positionalArguments();
    const QString layoutText = parser.value(u"layout"_s);
    if (files.size() != 2)
        return usageError(
            QCoreApplication::translate("DiffCommand", "two files to compare, FILE1 and FILE2"),
            err);
    if (parser.isSet(u"layout"_s) && !QStringList{u"0"_s, u"1"_s, u"2"_s}.contains(layoutText))
        return usageError(
            QCoreApplication::translate("DiffCommand", "--layout is 0, 1 or 2, not '%1'")
                .arg(layoutText),
            err);
    compare::DiffSettings& settings = options.settings;
    if (const QString problem = readPairingAndRules(parser, settings); !problem.isEmpty())
        return usageError(problem, err);
    if (const std::optional<int> status =
            readOfficeCount(parser, m_defaultOffices, options.offices, err))
        return status;

    settings.firstPath = QFileInfo(files[0]).absoluteFilePath();
    settings.secondPath = QFileInfo(files[1]).absoluteFilePath();
    settings.outputPath = files::programFile(files::kResultsFile);
    settings.templatePath = files::programFile(files::kTemplateFile);
    settings.startSheetText = parser.value(u"from"_s);
    settings.lastSheetText = parser.value(u"to"_s);
    settings.byFormula = parser.isSet(u"formulas"_s);
    settings.layout =
        static_cast<compare::WindowLayout>(parser.isSet(u"layout"_s) ? layoutText.toInt() : 0);
    options.job = jobOptions(parser);
    settings.colourDifferences = !parser.isSet(u"no-color"_s);
    // Without --show the office ends with the workbooks unsaved: their colours would never be
    // seen, and colouring thousands of cells in two offices is not free.
    settings.coloursSeen = options.job.show;
    settings.alignRows = parser.isSet(u"align"_s);
    settings.noSizeLimit = parser.isSet(u"no-limit"_s);
    return std::nullopt;
}

int DiffCommand::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options;
    if (const std::optional<int> status = parse(arguments, options, out, err))
        return *status;

    const bool kinds = options.settings.recordsKinds();
    if (compare::FolderPairing::isFolderComparison(options.settings.firstPath,
                                                   options.settings.secondPath)) {
        compare::FolderDiffOutcome outcome;
        runJob(options.job, err,
               [&](host::SpreadsheetHostFactory& factory, run::RunUi& ui, QString& typedPassword) {
                   compare::FolderDiffRun folders(factory, ui, typedPassword);
                   folders.useOffices(plainFactory(options.job.show), options.offices);
                   outcome = folders.start(
                       options.settings, nullptr,
                       [&](const compare::FileResult& file) { writeFile(out, err, file, kinds); });
               });
        if (outcome.ending == DiffEnding::Failed && !outcome.failure.isEmpty())
            err << u"brelix-cli diff: "_s << outcome.failure << u'\n';
        return exitStatus(outcome);
    }

    compare::DiffOutcome outcome;
    runJob(options.job, err,
           [&](host::SpreadsheetHostFactory& factory, run::RunUi& ui, QString& typedPassword) {
               outcome = compare::DiffRun(factory, ui, typedPassword).start(options.settings);
           });
    for (const compare::DiffRecord& record : outcome.records)
        writeRecord(out, record, kinds);
    out.flush();
    // The report is long; its reason, such as a file that is no workbook, ends stderr.
    if (outcome.ending == compare::DiffEnding::Failed && !outcome.failure.isEmpty())
        err << u"brelix-cli diff: "_s << outcome.failure << u'\n';
    return exitStatus(outcome);
}

} // namespace brelix::cli
