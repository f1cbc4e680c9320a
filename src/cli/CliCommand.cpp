#include "cli/CliCommand.h"

#include "core/run/OfficeCount.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace brelix::cli {

namespace {

QCommandLineOption helpOption()
{
    return QCommandLineOption(QStringList{u"h"_s, u"help"_s},
                              QCoreApplication::translate("CliCommand", "this help"));
}

} // namespace

QString CliCommand::optionsHelp(int column) const
{
    return optionsSection(options() << helpOption(), column);
}

std::optional<int> CliCommand::readArguments(QCommandLineParser& parser,
                                             const QStringList& arguments, QTextStream& out,
                                             QTextStream& err) const
{
    const QCommandLineOption help = helpOption();
    parser.addOptions(options() << help);
    if (!parser.parse(QStringList{m_name} + arguments))
        return usageError(parser.errorText(), err);
    if (parser.isSet(help)) {
        out << this->help();
        return ExitSuccess;
    }
    return std::nullopt;
}

int CliCommand::usageError(const QString& problem, QTextStream& err) const
{
    err << u"brelix-cli "_s << m_name << u": "_s << problem << u'\n' << m_usage;
    return ExitUsage;
}

QCommandLineOption CliCommand::jobsOption(const QString& job)
{
    return QCommandLineOption(
        u"jobs"_s,
        QCoreApplication::translate("CliCommand",
                                    "offices that %1 at once, 1 to %2 (default: as many as the "
                                    "machine has\ncores, at most %2); the output is that of one "
                                    "office")
            .arg(job)
            .arg(run::kMostOffices),
        u"N"_s);
}

std::optional<int> CliCommand::readOfficeCount(const QCommandLineParser& parser, int defaultCount,
                                               int& count, QTextStream& err) const
{
    count = defaultCount;
    if (!parser.isSet(u"jobs"_s))
        return std::nullopt;
    const QString text = parser.value(u"jobs"_s);
    bool number = false;
    const int chosen = text.toInt(&number);
    if (!number || chosen < 1 || chosen > run::kMostOffices)
        return usageError(
            QCoreApplication::translate("CliCommand", "--jobs is a number from 1 to %1, not '%2'")
                .arg(run::kMostOffices)
                .arg(text),
            err);
    count = chosen;
    return std::nullopt;
}

std::optional<int> CliCommand::refuseFolders(const QStringList& files, QTextStream& err) const
{
    for (const QString& file : files)
        if (QFileInfo(file).isDir())
            return usageError(
                QCoreApplication::translate("CliCommand", "'%1' is a folder, not a workbook")
                    .arg(file),
                err);
    return std::nullopt;
}

} // namespace brelix::cli
