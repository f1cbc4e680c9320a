#include "cli/CellsCommand.h"

#include "cli/CliText.h"
#include "cli/HostSession.h"
#include "core/host/CellAddress.h"
#include "core/host/HostError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

using namespace Qt::StringLiterals;
using brelix::host::HostError;

namespace brelix::cli {

namespace {

// Few round trips to the office, but bounded memory on very wide sheets.
constexpr int MaxRowsPerRead = 256;
constexpr int MaxCellsPerRead = 65536;

QString usage()
{
    return QCoreApplication::translate(
        "CellsCommand", "Usage: brelix-cli cells FILE [--formulas] [--password PW]\n");
}

} // namespace

CellsCommand::CellsCommand(host::SpreadsheetHostFactory& factory)
    : CliCommand(
          u"cells"_s,
          QCoreApplication::translate(
              "CellsCommand", "List the worksheets of a workbook and the texts of their cells"),
          usage()),
      m_factory(factory)
{
}

QString CellsCommand::description() const
{
    return QCoreApplication::translate("CellsCommand", R"help(
Lists every worksheet of FILE and the texts of its non-empty cells.

For each worksheet, in workbook order, a header line
  #sheet<TAB>N<TAB>NAME<TAB>visible|hidden<TAB>LAST ROW<TAB>LAST COLUMN[<TAB>protected]
where LAST ROW and LAST COLUMN are the bottom-right corner of the used area (1 1 for an
empty sheet), then one line per cell of the used area whose text is not empty, row by row:
  ADDRESS<TAB>TEXT
TEXT is the cell's text by value, as the comparison and the search read it (numbers in
general form, dates as yyyy/mm/dd, TRUE/FALSE, errors as shown), or with --formulas its
formula ("=SUM(A1:A3)"; a constant gives its value). Backslash, tab, CR and LF in texts
and names are written \\, \t, \r and \n.

A protected sheet is marked "protected". Its extent cannot be read: LAST ROW and LAST
COLUMN are "-" and no cells follow. --password PW is tried on every protected sheet; where
it fits, the extent and the cells follow as for any sheet. A wrong password is reported on
stderr and the sheet is listed as without a password.

)help") + optionsHelp() +
           QCoreApplication::translate("CellsCommand", R"help(
Exit status: 0 when the workbook was listed, 1 when the spreadsheet application failed,
2 for a usage error or a file that cannot be opened.
)help");
}

QList<QCommandLineOption> CellsCommand::options() const
{
    return {
        QCommandLineOption(u"formulas"_s, QCoreApplication::translate(
                                              "CellsCommand", "formula texts instead of values")),
        QCommandLineOption(
            u"password"_s,
            QCoreApplication::translate("CellsCommand", "the password of protected sheets"),
            u"PW"_s),
    };
}

std::optional<int> CellsCommand::parse(const QStringList& arguments, Options& options,
                                       QTextStream& out, QTextStream& err) const
{
    QCommandLineParser parser;
    if (const std::optional<int> status = readArguments(parser, arguments, out, err))
        return status;
    if (parser.positionalArguments().isEmpty())
        return usageError(QCoreApplication::translate("CellsCommand", "no FILE given"), err);
    if (parser.positionalArguments().size() > 1)
        return usageError(QCoreApplication::translate("CellsCommand", "one FILE only"), err);
    if (const std::optional<int> status = refuseFolders(parser.positionalArguments(), err))
        return status;
    options.file = parser.positionalArguments().first();
    options.formulas = parser.isSet(u"formulas"_s);
    if (parser.isSet(u"password"_s))
        options.password = parser.value(u"password"_s);
    return std::nullopt;
}

int CellsCommand::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options;
    if (const std::optional<int> status = parse(arguments, options, out, err))
        return *status;
    try {
        HostSession session(m_factory);
        host::SpreadsheetHost& host = session.host();
        QString book;
        try {
            book = host.openWorkbook(QFileInfo(options.file).absoluteFilePath());
        } catch (const HostError& e) {
            err << QCoreApplication::translate("CellsCommand", "brelix-cli: cannot open %1: %2\n")
                       .arg(options.file, oneLine(e.description()));
            return ExitUsage;
        }
        const int count = host.sheetCount(book);
        for (int sheet = 1; sheet <= count; ++sheet)
            listSheet(host, book, sheet, options, out, err);
        return ExitSuccess;
    } catch (const HostError& e) {
        out.flush();
        err << u"brelix-cli: "_s << oneLine(e.description()) << u'\n';
        return ExitFailure;
    }
}

void CellsCommand::listSheet(host::SpreadsheetHost& host, const QString& book, int sheet,
                             const Options& options, QTextStream& out, QTextStream& err) const
{
    const QString name = host.sheetName(book, sheet);
    const bool visible = host.isSheetVisible(book, sheet);
    bool isProtected = host.isSheetProtected(book, sheet);
    if (isProtected && options.password) {
        try {
            host.unprotectSheet(book, sheet, *options.password);
        } catch (const HostError& e) {
            if (e.kind() != HostError::Kind::WrongPassword)
                throw;
            err << QCoreApplication::translate("CellsCommand",
                                               "brelix-cli: wrong password for sheet %1 (%2)\n")
                       .arg(sheet)
                       .arg(escapeField(name));
        }
    }
    std::optional<host::CellPosition> last;
    try {
        last = host.lastUsedCell(book, sheet);
    } catch (const HostError& e) {
        if (e.kind() != HostError::Kind::SheetProtected)
            throw;
        isProtected = true;
    }

    out << u"#sheet\t"_s << sheet << u'\t' << escapeField(name) << u'\t'
        << (visible ? u"visible"_s : u"hidden"_s) << u'\t';
    if (last)
        out << last->row << u'\t' << last->column;
    else
        out << u"-\t-"_s;
    if (isProtected)
        out << u"\tprotected"_s;
    out << u'\n';

    if (last)
        listCells(host, book, sheet, *last,
                  options.formulas ? host::CellTextKind::Formula : host::CellTextKind::Value, out);
}

void CellsCommand::listCells(host::SpreadsheetHost& host, const QString& book, int sheet,
                             const host::CellPosition& last, host::CellTextKind kind,
                             QTextStream& out) const
{
    const int rowsPerRead = std::clamp(MaxCellsPerRead / last.column, 1, MaxRowsPerRead);
    for (int top = 1; top <= last.row; top += rowsPerRead) {
        const int bottom = std::min(top + rowsPerRead - 1, last.row);
        const QList<QStringList> rows =
            host.rangeTexts(book, sheet, {{top, 1}, {bottom, last.column}}, kind);
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                if (!rows[r][c].isEmpty())
                    out << host::cellAddress(top + r, c + 1) << u'\t' << escapeField(rows[r][c])
                        << u'\n';
    }
}

} // namespace brelix::cli
