#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"
#include "cli/BrelixCommands.h"
#include "cli/CellsCommand.h"
#include "cli/DiffCommand.h"
#include "cli/GrepCommand.h"
#include "cli/PrintCommand.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::cli {
namespace {

QString flag(bool value)
{
    return value ? u"1"_s : u"0"_s;
}

QStringList tokens(const OfficeJobCommand::JobOptions& job)
{
    return {u"password="_s + job.password.value_or(u"-"_s), u"show="_s + flag(job.show)};
}

// What each run receives, as "name=value" tokens.
QStringList tokens(const DiffCommand::Options& options)
{
    const compare::DiffSettings& s = options.settings;
    return QStringList{u"first="_s + s.firstPath,          u"second="_s + s.secondPath,
                       u"output="_s + s.outputPath,        u"template="_s + s.templatePath,
                       u"from="_s + s.startSheetText,      u"to="_s + s.lastSheetText,
                       u"formulas="_s + flag(s.byFormula), u"layout=%1"_s.arg(s.layout),
                       u"colour="_s + flag(s.colorDiff),   u"toolbars=%1"_s.arg(s.toolBarRows),
                       u"index=%1"_s.arg(s.diffColor)} +
           tokens(options.job);
}

QStringList tokens(const GrepCommand::Options& options)
{
    const search::SearchSettings& s = options.settings;
    QStringList targets;
    for (const search::SearchTarget& target : s.targets)
        targets.append(target.fileName + u'=' + target.path);
    return QStringList{u"text="_s + s.searchText,        u"case="_s + flag(s.caseSensitive),
                       u"in="_s + targets.join(u','),    u"output="_s + s.outputPath,
                       u"template="_s + s.templatePath,  u"hits="_s + s.hitFilePath,
                       u"keep="_s + flag(s.keepHitFile), u"toolbars=%1"_s.arg(s.toolBarRows)} +
           tokens(options.job);
}

QStringList tokens(const PrintCommand::Options& options)
{
    QStringList files;
    for (const print::PrintEntry& entry : options.request.entries)
        files.append(entry.name + u'=' + entry.path + (entry.selected ? u""_s : u"-"_s));
    const std::optional<print::PrintScope> scope = options.request.scope;
    return {u"files="_s + files.join(u','),
            u"scope="_s + (scope ? QString::number(static_cast<int>(*scope)) : u"-"_s),
            u"pdf="_s + options.pdfFolder, u"yes="_s + flag(options.yes)};
}

QStringList tokens(const CellsCommand::Options& options)
{
    return {u"file="_s + options.file, u"formulas="_s + flag(options.formulas),
            u"password="_s + options.password.value_or(u"-"_s)};
}

// A command line read by `command`: the tokens of what its run receives, "help", or the usage
// error's problem. Each error is framed as every command frames it.
template <typename Command> QString parsed(const Command& command, const QStringList& arguments)
{
    typename Command::Options options;
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const std::optional<int> status = command.parse(arguments, options, outStream, errStream);
    outStream.flush();
    errStream.flush();
    if (!status)
        return tokens(options).join(u' ');
    if (*status == ExitSuccess && out == command.help() && err.isEmpty())
        return u"help"_s;
    const QString opening = u"brelix-cli "_s + command.name() + u": "_s;
    const QString problem = err.section(u'\n', 0, 0);
    EXPECT_EQ(*status, ExitUsage);
    EXPECT_TRUE(command.help().startsWith(err.mid(problem.size() + 1))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    return problem.startsWith(opening) ? u"usage: "_s + problem.mid(opening.size()) : err;
}

// Each command's options read into what its run receives. A row names the tokens it is about;
// the first of each command names them all. Relative names resolve in the folder the command
// line runs in, here the program's folder ("D").
TEST(CommandOptionsTest, EachCommandLineGivesItsRunTheseSettings)
{
    const support::TemporaryProgramFolder home;
    const QString folder = QDir(home.path()).canonicalPath();
    QDir(folder).mkdir(u"pdfs"_s);
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);

    support::InMemoryHostFactory factory;
    QTextStream in(stdin);
    const auto factoryFor = [&](bool) -> host::SpreadsheetHostFactory& { return factory; };
    const DiffCommand diff(factoryFor, false);
    const GrepCommand grep(factoryFor, false);
    const PrintCommand print(factory, in, false, false);
    const CellsCommand cells(factory);
    const std::map<QString, std::function<QString(const QStringList&)>> commands = {
        {u"diff"_s, [&](const QStringList& a) { return parsed(diff, a); }},
        {u"grep"_s, [&](const QStringList& a) { return parsed(grep, a); }},
        {u"print"_s, [&](const QStringList& a) { return parsed(print, a); }},
        {u"cells"_s, [&](const QStringList& a) { return parsed(cells, a); }},
    };

    // Arguments are separated by one blank.
    const std::pair<QString, QString> rows[] = {
        {u"diff a.xls sub/b.xls"_s,
         u"first=D/a.xls second=D/sub/b.xls output=D/Brelix.xls template=D/Brelix_Format.xls "
         u"from= to= formulas=0 layout=0 colour=1 toolbars=2 index=7 password=- show=0"_s},
        {u"diff --formulas --from 2 --to=x a --no-color --layout 2 b --password pw --show"_s,
         u"first=D/a second=D/b from=2 to=x formulas=1 layout=2 colour=0 password=pw show=1"_s},
        {u"diff a b --layout=1 --password="_s, u"layout=1 password="_s},
        {u"diff a.xls"_s, u"usage: two files to compare, FILE1 and FILE2"_s},
        {u"diff a b --layout 3"_s, u"usage: --layout is 0, 1 or 2, not '3'"_s},
        {u"diff a -h"_s, u"help"_s},

        {u"grep total b.xls sub/a.csv"_s,
         u"text=total case=0 in=b.xls=D/b.xls,a.csv=D/sub/a.csv output=D/Brelix.xls "
         u"template=D/Brelix_Format.xls hits=D/Brelix.grp keep=0 toolbars=2 password=- show=0"_s},
        {u"grep --case total --password=pw b.xls --show"_s, u"case=1 password=pw show=1"_s},
        {u"grep abc"_s, u"usage: a text to search and at least one file"_s},
        {u"grep abc b.xls other/b.xls"_s,
         u"usage: two files named 'b.xls': search them one at a time"_s},

        {u"print a.xls sub/b.xls --scope 2"_s,
         u"files=a.xls=D/a.xls,sub/b.xls=D/sub/b.xls scope=2 pdf= yes=0"_s},
        {u"print a.xls --scope=0 --pdf pdfs --yes"_s, u"scope=0 pdf=D/pdfs yes=1"_s},
        {u"print --scope 0"_s, u"usage: at least one file to print"_s},
        {u"print a.xls"_s, u"usage: --scope is required"_s},
        {u"print a.xls --scope 4"_s, u"usage: --scope is 0, 1, 2 or 3, not '4'"_s},
        {u"print a.xls --scope 0 --pdf a.xls"_s, u"usage: --pdf names no folder: 'a.xls'"_s},
        {u"print a.xls --scope 0 --copies 2"_s, u"usage: Unknown option 'copies'."_s},

        {u"cells sub/book.xls"_s, u"file=sub/book.xls formulas=0 password=-"_s},
        {u"cells --formulas book.xls --password pw"_s, u"formulas=1 password=pw"_s},
        {u"cells"_s, u"usage: no FILE given"_s},
        {u"cells a.xls b.xls"_s, u"usage: one FILE only"_s},
        {u"cells a.xls --password"_s, u"usage: Missing value after '--password'."_s},
    };
    for (const auto& [line, expected] : rows) {
        SCOPED_TRACE(line.toStdString());
        const QStringList words = line.split(u' ');
        QString received = commands.at(words[0])(words.mid(1));
        received.replace(folder, u"D"_s).replace(home.path(), u"D"_s);
        if (!expected.contains(u'=')) {
            EXPECT_EQ(received, expected);
            continue;
        }
        for (const QString& token : expected.split(u' '))
            EXPECT_TRUE(received.split(u' ').contains(token)) << received.toStdString();
    }
    EXPECT_EQ(factory.startCount(), 0);
    QDir::setCurrent(before);
}

// The manual page is written by hand; this keeps it in step with the commands' own help.
TEST(ManPageTest, EachCommandHasASectionWithEveryOptionOfItsHelp)
{
    QFile file(QStringLiteral(BRELIX_MAN_PAGE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << BRELIX_MAN_PAGE;
    // roff writes a minus as \-; the text is compared as a reader sees it.
    const QString page = QString::fromUtf8(file.readAll()).replace(u"\\-"_s, u"-"_s);
    support::InMemoryHostFactory factory;
    QTextStream in(stdin);
    const auto factoryFor = [&](bool) -> host::SpreadsheetHostFactory& { return factory; };
    CliApplication cli;
    addBrelixCommands(cli, factory, factoryFor, in, false, false);

    for (const QString& name : {u"cells"_s, u"diff"_s, u"grep"_s, u"print"_s}) {
        SCOPED_TRACE(name.toStdString());
        QString help;
        QTextStream out(&help);
        QTextStream err(stderr);
        ASSERT_EQ(cli.run({u"brelix-cli"_s, u"help"_s, name}, out, err), 0);
        out.flush();
        EXPECT_TRUE(page.contains(u".B brelix-cli "_s + name + u'\n'));
        const qsizetype section = page.indexOf(u".SS \""_s + name + u' ');
        ASSERT_GE(section, 0);
        const qsizetype end = page.indexOf(u"\n.SS "_s, section + 1);
        const QString text = page.mid(section, end < 0 ? -1 : end - section);
        static const QRegularExpression option(u"(?<![\\w-])--[a-z][a-z-]*"_s);
        int options = 0;
        for (const QRegularExpressionMatch& m : option.globalMatch(help)) {
            ++options;
            if (m.captured() != u"--help"_s) {
                EXPECT_TRUE(text.contains(m.captured())) << m.captured().toStdString();
            }
        }
        EXPECT_GE(options, 3);
        // Each section closes with the exit statuses, as the help does.
        EXPECT_TRUE(help.contains(u"\nExit status: 0 when"_s));
        EXPECT_TRUE(text.contains(u".B Exit status"_s));
    }

    const QString usage = cli.usage();
    for (const QString& variable : {u"BRELIX_HOME"_s, u"BRELIX_PDF_DIR"_s, u"XDG_DATA_HOME"_s}) {
        EXPECT_TRUE(usage.contains(u"\n  "_s + variable + u' ')) << variable.toStdString();
        EXPECT_TRUE(page.contains(u".B "_s + variable + u'\n')) << variable.toStdString();
    }
    EXPECT_TRUE(page.contains(u"~/.local/share/Brelix"_s));
    EXPECT_TRUE(usage.contains(u"~/.local/share/Brelix"_s));
}

} // namespace
} // namespace brelix::cli
