#include "cli/DiffCommand.h"

#include "cli/CliText.h"
#include "core/compare/DiffRules.h"
#include "core/compare/DiffRun.h"
#include "core/files/ProgramFiles.h"
#include "core/files/ProgramFolder.h"

#include <QCommandLineParser>
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

const QString Usage =
    u"Usage: brelix-cli diff FILE1 FILE2 [--formulas] [--from N] [--to N] [--no-color]\n"
    u"                       [--layout 0|1|2] [--align] [--key COLUMNS] [--by-name]\n"
    u"                       [--ignore-case] [--ignore-width] [--ignore-blanks]\n"
    u"                       [--tolerance X] [--ignore-columns COLUMNS]\n"
    u"                       [--no-limit] [--password PW] [--show]\n"_s;

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

// --key, --by-name and the rules of equality; what is wrong with them, or nothing.
QString readPairingAndRules(const QCommandLineParser& parser, compare::DiffSettings& settings)
{
    const auto columnsOf = [&](const QString& option, int most) {
        return parser.isSet(option) ? compare::columnList(parser.value(option), most)
                                    : std::optional<QList<int>>(QList<int>());
    };
    const std::optional<QList<int>> keys = columnsOf(u"key"_s, compare::kMostKeyColumns);
    if (!keys)
        return u"--key takes up to five column letters such as A or A,C, not '%1'"_s.arg(
            parser.value(u"key"_s));
    const std::optional<QList<int>> ignored = columnsOf(u"ignore-columns"_s, 16384);
    if (!ignored)
        return u"--ignore-columns takes column letters such as D or D,F, not '%1'"_s.arg(
            parser.value(u"ignore-columns"_s));
    compare::EqualityRules& rules = settings.equality;
    if (parser.isSet(u"tolerance"_s)) {
        rules.tolerance = compare::toleranceOf(parser.value(u"tolerance"_s));
        if (!rules.tolerance)
            return u"--tolerance takes a decimal number of 0 or more, not '%1'"_s.arg(
                parser.value(u"tolerance"_s));
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

DiffCommand::DiffCommand(FactoryFor factoryFor, bool progressLine)
    : OfficeJobCommand(u"diff"_s,
                       u"Compare two workbooks cell by cell and list the differing cells"_s, Usage,
                       std::move(factoryFor), progressLine)
{
}

QString DiffCommand::description() const
{
    return uR"help(
Compares FILE1 and FILE2 sheet by sheet, as the compare button does: same checks, same
work budget, same endings. The differing cells are listed in the change history Brelix.xls,
made from Brelix_Format.xls in the program's folder (see 'brelix-cli --help') and saved
there, and coloured in both workbooks while the office shows them; FILE1 and FILE2 are
never written.

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

Options:
  --formulas       compare formula texts instead of values
  --from N         the first sheet to compare (1 when absent or below 1)
  --to N           the last sheet to compare (the last sheet when absent or below 1)
  --no-color       leave the differing cells of the workbooks uncoloured; without --show,
                   which leaves them open to be seen, they are not coloured anyway, but
                   their colouring counts against the work budget as in the window
  --layout 0|1|2   the windows: 0 both workbooks side by side above the change history
                   (default), 1 all side by side, 2 all one above the other
  --align          match rows and columns by their content before comparing cells, so
                   that inserted and deleted rows and columns show as such rather than as
                   changes of every cell after them; the change history gains the columns
                   of the second address and the kind
  --key COLUMNS    pair rows by the texts of these columns (up to five letters: A or A,C)
                   rather than by place: the n-th row with a key in FILE1 pairs with the
                   n-th row with that key in FILE2, so that sorted or moved rows give no
                   record; rows of one file only are row-deleted or row-inserted; with
                   --align, columns are matched by content and rows by key
  --by-name        pair sheets by name rather than by position; a sheet of one workbook
                   only gives one sheet-deleted or sheet-inserted record, and differing
                   sheet counts are compared (with --from or --to, only FILE1's sheets
                   of the range take part and no sheet-inserted record is given)
  --ignore-case    letters equal whatever their case (also full-width letters)
  --ignore-width   texts compared as Unicode NFKC folds them: full-width letters, digits
                   and signs, the ideographic space, half-width katakana
  --ignore-blanks  blanks at the start and end of a text do not count (space, tab,
                   ideographic space, line breaks)
  --tolerance X    two texts that both read as decimal numbers are equal when they differ
                   by at most X
  --ignore-columns COLUMNS
                   these columns of FILE1 (letters: D or D,F) are not compared and give no
                   record; records always show the texts as they are in the cells
  --no-limit       compare every cell of every sheet, past the work budget; records
                   past the 65536 rows of a change-history sheet go on in further sheets
  --password PW    the password of protected sheets, given to every prompt; without it a
                   protected sheet stops the comparison
  --show           hand the office over visible when the comparison finishes, with both
                   workbooks and the change history open; without it the office ends
  -h, --help       this help

Exit status: 0 when no difference was found, 1 when differences were found (also when the
workbooks were too large to compare in full), 2 when the comparison was refused, stopped
or failed, or for a usage error.
)help"_s;
}

std::optional<int> DiffCommand::parse(const QStringList& arguments, Options& options,
                                      QTextStream& out, QTextStream& err) const
{
    QCommandLineParser parser;
    const QCommandLineOption formulas(u"formulas"_s);
    const QCommandLineOption from(u"from"_s, QString(), u"N"_s);
    const QCommandLineOption to(u"to"_s, QString(), u"N"_s);
    const QCommandLineOption noColor(u"no-color"_s);
    const QCommandLineOption layout(u"layout"_s, QString(), u"0|1|2"_s);
    const QCommandLineOption align(u"align"_s);
    const QCommandLineOption noLimit(u"no-limit"_s);
    const QCommandLineOption key(u"key"_s, QString(), u"COLUMNS"_s);
    const QCommandLineOption byName(u"by-name"_s);
    const QCommandLineOption ignoreCase(u"ignore-case"_s);
    const QCommandLineOption ignoreWidth(u"ignore-width"_s);
    const QCommandLineOption ignoreBlanks(u"ignore-blanks"_s);
    const QCommandLineOption tolerance(u"tolerance"_s, QString(), u"X"_s);
    const QCommandLineOption ignoreColumns(u"ignore-columns"_s, QString(), u"COLUMNS"_s);
    parser.addOptions({formulas, from, to, noColor, layout, align, noLimit, key, byName, ignoreCase,
                       ignoreWidth, ignoreBlanks, tolerance, ignoreColumns});
    addJobOptions(parser);
    if (const std::optional<int> status = readArguments(parser, arguments, out, err))
        return status;
    const QStringList files = parser.positionalArguments();
    const QString layoutText = parser.value(layout);
    if (files.size() != 2)
        return usageError(u"two files to compare, FILE1 and FILE2"_s, err);
    if (const std::optional<int> status = refuseFolders(files, err))
        return status;
    if (parser.isSet(layout) && !QStringList{u"0"_s, u"1"_s, u"2"_s}.contains(layoutText))
        return usageError(u"--layout is 0, 1 or 2, not '%1'"_s.arg(layoutText), err);
    compare::DiffSettings& settings = options.settings;
    if (const QString problem = readPairingAndRules(parser, settings); !problem.isEmpty())
        return usageError(problem, err);

    settings.firstPath = QFileInfo(files[0]).absoluteFilePath();
    settings.secondPath = QFileInfo(files[1]).absoluteFilePath();
    settings.outputPath = files::programFile(files::kResultsFile);
    settings.templatePath = files::programFile(files::kTemplateFile);
    settings.startSheetText = parser.value(from);
    settings.lastSheetText = parser.value(to);
    settings.byFormula = parser.isSet(formulas);
    settings.layout =
        static_cast<compare::WindowLayout>(parser.isSet(layout) ? layoutText.toInt() : 0);
    options.job = jobOptions(parser);
    settings.colorDiff = !parser.isSet(noColor);
    // Without --show the office ends with the workbooks unsaved: their colours would never be
    // seen, and colouring thousands of cells in two offices is not free.
    settings.colorsSeen = options.job.show;
    settings.toolBarRows = 2;
    settings.diffColor = 7;
    settings.alignRows = parser.isSet(align);
    settings.noSizeLimit = parser.isSet(noLimit);
    return std::nullopt;
}

int DiffCommand::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options;
    if (const std::optional<int> status = parse(arguments, options, out, err))
        return *status;

    compare::DiffOutcome outcome;
    runJob(options.job, err,
           [&](host::SpreadsheetHostFactory& factory, run::RunUi& ui, QString& typedPassword) {
               outcome = compare::DiffRun(factory, ui, typedPassword).start(options.settings);
           });
    for (const compare::DiffRecord& record : outcome.records) {
        out << record.sequence << u'\t' << escapeField(record.sheetName) << u'\t'
            << record.sheetNumber << u'\t' << escapeField(record.address) << u'\t';
        if (options.settings.recordsKinds())
            out << escapeField(record.secondAddress) << u'\t';
        out << escapeField(record.firstText) << u'\t' << escapeField(record.secondText);
        if (options.settings.recordsKinds())
            out << u'\t' << kindName(record.kind);
        out << u'\n';
    }
    out.flush();
    // The report is long; its reason, such as a file that is no workbook, ends stderr.
    if (outcome.ending == compare::DiffEnding::Failed && !outcome.failure.isEmpty())
        err << u"brelix-cli diff: "_s << outcome.failure << u'\n';
    return exitStatus(outcome);
}

} // namespace brelix::cli
