#include "GTestPrinters.h"
#include "InMemoryHostFactory.h"
#include "TemporaryProgramFolder.h"
#include "cli/CellsCommand.h"
#include "cli/DiffCommand.h"
#include "cli/GrepCommand.h"
#include "cli/PrintCommand.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::cli {
namespace {

// The fields that differ from a default-made value, as "name value", the way a row reads.
class Fields {
public:
    Fields& add(const QString& name, const QString& value, const QString& standard = {})
    {
        if (value != standard)
            m_fields.append(name + u' ' + value);
        return *this;
    }
    Fields& add(const QString& name, int value, int standard)
    {
        return add(name, QString::number(value), QString::number(standard));
    }
    Fields& add(const QString& name, const std::optional<QString>& value)
    {
        return add(name, value ? u'\'' + *value + u'\'' : QString());
    }
    QString text() const { return m_fields.join(u", "_s); }

private:
    QStringList m_fields;
};

QString describe(const OfficeJobCommand::JobOptions& job)
{
    return Fields().add(u"password"_s, job.password).add(u"show"_s, job.show, false).text();
}

QString describe(const DiffCommand::Options& options)
{
    const compare::DiffSettings& s = options.settings;
    const compare::DiffSettings d;
    return Fields()
        .add(u"first"_s, s.firstPath)
        .add(u"second"_s, s.secondPath)
        .add(u"output"_s, s.outputPath)
        .add(u"template"_s, s.templatePath)
        .add(u"from"_s, s.startSheetText)
        .add(u"to"_s, s.lastSheetText)
        .add(u"formulas"_s, s.byFormula, d.byFormula)
        .add(u"layout"_s, s.layout, d.layout)
        .add(u"colour"_s, s.colorDiff, d.colorDiff)
        .add(u"toolbars"_s, s.toolBarRows, d.toolBarRows)
        .add(u"colour index"_s, s.diffColor, d.diffColor)
        .add(u"job"_s, describe(options.job))
        .text();
}

QString describe(const GrepCommand::Options& options)
{
    const search::SearchSettings& s = options.settings;
    const search::SearchSettings d;
    QStringList targets;
    for (const search::SearchTarget& target : s.targets)
        targets.append(target.fileName + u'=' + target.path);
    return Fields()
        .add(u"text"_s, u'\'' + s.searchText + u'\'')
        .add(u"case"_s, s.caseSensitive, d.caseSensitive)
        .add(u"in"_s, targets.join(u' '))
        .add(u"output"_s, s.outputPath)
        .add(u"template"_s, s.templatePath)
        .add(u"hits"_s, s.hitFilePath)
        .add(u"keep hits"_s, s.keepHitFile, d.keepHitFile)
        .add(u"toolbars"_s, s.toolBarRows, d.toolBarRows)
        .add(u"job"_s, describe(options.job))
        .text();
}

QString describe(const PrintCommand::Options& options)
{
    QStringList entries;
    for (const print::PrintEntry& entry : options.request.entries)
        entries.append(entry.name + u'=' + entry.path +
                       (entry.selected ? u""_s : u" unselected"_s));
    const std::optional<print::PrintScope> scope = options.request.scope;
    return Fields()
        .add(u"files"_s, entries.join(u' '))
        .add(u"scope"_s, scope ? static_cast<int>(*scope) : -1, -1)
        .add(u"pdf"_s, options.pdfFolder)
        .add(u"yes"_s, options.yes, false)
        .text();
}

QString describe(const CellsCommand::Options& options)
{
    return Fields()
        .add(u"file"_s, options.file)
        .add(u"formulas"_s, options.formulas, false)
        .add(u"password"_s, options.password)
        .text();
}

// A command line read by `command`: what its run receives, "help", or the usage error's
// problem. Each error is framed as every command frames it.
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
        return describe(options);
    if (*status == ExitSuccess && out == command.help() && err.isEmpty())
        return u"help"_s;
    const QString opening = u"brelix-cli "_s + command.name() + u": "_s;
    const QString problem = err.section(u'\n', 0, 0);
    EXPECT_EQ(*status, ExitUsage);
    EXPECT_TRUE(command.help().startsWith(err.mid(problem.size() + 1))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    return problem.startsWith(opening) ? u"usage: "_s + problem.mid(opening.size()) : err;
}

// Each command's options read into what its run receives (the fields that differ from a
// default-made value). Relative names resolve in the folder the command line runs in, here the
// program's folder ("D").
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
    const QString diffFiles =
        u"first D/a.xls, second D/sub/b.xls, output D/Brelix.xls, template D/Brelix_Format.xls"_s;
    const QString grepFiles = u"in b.xls=D/b.xls a.csv=D/sub/a.csv, output D/Brelix.xls, "
                              u"template D/Brelix_Format.xls, hits D/Brelix.grp"_s;
    const std::pair<QString, QString> rows[] = {
        {u"diff a.xls sub/b.xls"_s, diffFiles},
        {u"diff --formulas --from 2 --to=x a.xls --no-color --layout 2 sub/b.xls --password pw "
         u"--show"_s,
         diffFiles + u", from 2, to x, formulas 1, layout 2, colour 0, "
                     u"job password 'pw', show 1"_s},
        {u"diff a.xls sub/b.xls --layout=1 --password="_s,
         diffFiles + u", layout 1, job password ''"_s},
        {u"diff a.xls"_s, u"usage: two files to compare, FILE1 and FILE2"_s},
        {u"diff a b --layout 3"_s, u"usage: --layout is 0, 1 or 2, not '3'"_s},
        {u"diff a b --from"_s, u"usage: Missing value after '--from'."_s},
        {u"diff a b --colour"_s, u"usage: Unknown option 'colour'."_s},
        {u"diff a -h"_s, u"help"_s},

        {u"grep total b.xls sub/a.csv"_s, u"text 'total', "_s + grepFiles},
        {u"grep --case total --password=pw b.xls --show sub/a.csv"_s,
         u"text 'total', case 1, "_s + grepFiles + u", job password 'pw', show 1"_s},
        {u"grep abc"_s, u"usage: a text to search and at least one file"_s},
        {u"grep abc b.xls other/b.xls"_s,
         u"usage: two files named 'b.xls': search them one at a time"_s},
        {u"grep --help"_s, u"help"_s},

        {u"print a.xls sub/b.xls --scope 2"_s,
         u"files a.xls=D/a.xls sub/b.xls=D/sub/b.xls, scope 2"_s},
        {u"print a.xls --scope=0 --pdf pdfs --yes"_s,
         u"files a.xls=D/a.xls, scope 0, pdf D/pdfs, yes 1"_s},
        {u"print --scope 0"_s, u"usage: at least one file to print"_s},
        {u"print a.xls"_s, u"usage: --scope is required"_s},
        {u"print a.xls --scope 4"_s, u"usage: --scope is 0, 1, 2 or 3, not '4'"_s},
        {u"print a.xls --scope 0 --pdf a.xls"_s, u"usage: --pdf names no folder: 'a.xls'"_s},
        {u"print a.xls --scope 0 --copies 2"_s, u"usage: Unknown option 'copies'."_s},

        {u"cells sub/book.xls"_s, u"file sub/book.xls"_s},
        {u"cells --formulas book.xls --password pw"_s,
         u"file book.xls, formulas 1, password 'pw'"_s},
        {u"cells"_s, u"usage: no FILE given"_s},
        {u"cells a.xls b.xls"_s, u"usage: one FILE only"_s},
        {u"cells a.xls --password"_s, u"usage: Missing value after '--password'."_s},
    };
    for (const auto& [line, expected] : rows) {
        SCOPED_TRACE(line.toStdString());
        const QStringList words = line.split(u' ');
        QString received = commands.at(words[0])(words.mid(1));
        EXPECT_EQ(received.replace(folder, u"D"_s).replace(home.path(), u"D"_s), expected);
    }
    EXPECT_EQ(factory.startCount(), 0);
    QDir::setCurrent(before);
}

} // namespace
} // namespace brelix::cli
