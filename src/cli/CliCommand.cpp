#include "cli/CliCommand.h"

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
