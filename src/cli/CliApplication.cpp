#include "CliApplication.h"

using namespace Qt::StringLiterals;

namespace brelix::cli {

void CliApplication::addCommand(std::unique_ptr<CliCommand> command)
{
    m_commands.push_back(std::move(command));
}

CliCommand* CliApplication::find(const QString& name) const
{
    for (const auto& command : m_commands)
        if (command->name() == name)
            return command.get();
    return nullptr;
}

QString CliApplication::usage() const
{
    QString text = u"Usage: brelix-cli COMMAND [ARGUMENTS]\n\nCommands:\n"_s;
    for (const auto& command : m_commands)
        text += u"  %1  %2\n"_s.arg(command->name(), -8).arg(command->summary());
    text += u"\n'brelix-cli COMMAND --help' shows the help of a command.\n"_s;
    return text;
}

int CliApplication::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString first = arguments.value(1);
    if (first.isEmpty()) {
        err << usage();
        return ExitUsage;
    }
    const bool help = first == u"help"_s;
    if (first == u"--help"_s || first == u"-h"_s || (help && arguments.size() == 2)) {
        out << usage();
        return ExitSuccess;
    }
    const QString name = help ? arguments[2] : first;
    CliCommand* command = find(name);
    if (!command) {
        err << u"brelix-cli: unknown command '%1'\n\n"_s.arg(name) << usage();
        return ExitUsage;
    }
    if (help) {
        out << command->help();
        return ExitSuccess;
    }
    return command->run(arguments.mid(2), out, err);
}

} // namespace brelix::cli
