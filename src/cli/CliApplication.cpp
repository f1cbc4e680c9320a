#include "cli/CliApplication.h"

#include "cli/CliText.h"

#include <QCoreApplication>

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
    QString text = QCoreApplication::translate(
        "CliApplication",
        "Usage: brelix-cli COMMAND [ARGUMENTS]\n"
        "       brelix-cli COMMAND --help\n\n"
        "Runs the jobs of Brelix without windows, in a private LibreOffice instance.\n\n"
        "Commands:\n");
    for (const auto& command : m_commands)
        text += u"  %1  %2\n"_s.arg(command->name(), -8).arg(command->summary());
    const QCommandLineOption help(
        QStringList{u"h"_s, u"help"_s},
        QCoreApplication::translate(
            "CliApplication",
            "this help; 'brelix-cli COMMAND --help' shows the help of a command"));
    text += u'\n' + optionsSection({help}, kOptionColumn);
    text += QCoreApplication::translate("CliApplication", R"text(
Files: the template Brelix_Format.xls, the outputs Brelix.xls and Brelix.grp and the
settings Brelix.ini lie in the program's folder: BRELIX_HOME when it is set; else the
folder of brelix-cli when you may write to it (a copy of its own, the build folder); else
Brelix under your data directory (~/.local/share/Brelix), made on the first start and
filled from the installed folder.

Environment:
  BRELIX_HOME      the program's folder
  BRELIX_LANG      ja or en: the language of the messages; else the locale's (Japanese
                   for a Japanese locale, C or POSIX, English for any other)
  BRELIX_PDF_DIR   a folder: print into PDF files there instead of on the printer
  XDG_DATA_HOME    your data directory (default ~/.local/share)

See also brelix-cli(1) and the manual Brelix.html in the program's folder.
)text");
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
        err << QCoreApplication::translate("CliApplication", "brelix-cli: unknown command '%1'\n\n")
                   .arg(name)
            << usage();
        return ExitUsage;
    }
    if (help) {
        out << command->help();
        return ExitSuccess;
    }
    return command->run(arguments.mid(2), out, err);
}

} // namespace brelix::cli
