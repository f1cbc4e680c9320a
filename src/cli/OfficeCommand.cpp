#include "cli/OfficeCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

using namespace Qt::StringLiterals;

namespace brelix::cli {

namespace {

QString usage()
{
    return QCoreApplication::translate(
        "OfficeCommand",
        "Usage: brelix-cli office start [--idle-minutes N] [--foreground] | stop | status\n");
}

// An office starts within this; the keeper gives up earlier when it cannot start one.
constexpr int kStartWaitMs = 120000;

// Past the column of the other commands: "--idle-minutes N" takes more room.
constexpr int kWideOptionColumn = 21;

} // namespace

OfficeCommand::OfficeCommand(host::ReadyOfficeService& service)
    : CliCommand(u"office"_s,
                 QCoreApplication::translate(
                     "OfficeCommand", "Keep an office ready in the background for the commands"),
                 usage()),
      m_service(service)
{
}

QString OfficeCommand::description() const
{
    return QCoreApplication::translate("OfficeCommand", R"help(
start keeps two idle offices ready in a background process, for this user and program
folder. cells, grep and print take one when it is idle instead of starting their own, which
saves most of their time; diff without --show takes both and loads its two workbooks side by
side. Each command still has offices of its own, with nothing of an earlier command in
them, and ends them or hands them over (--show) as always. Two commands never share one:
when none is idle, a command starts its own. Once a command that took one has ended, the
background process starts the next. It ends itself, with its idle offices, after N minutes
without a command (15 by default).

stop ends the background process and its idle offices. status says whether it runs, its
process id, and the process ids and memory of the idle offices.

)help") + optionsHelp(kWideOptionColumn) +
           QCoreApplication::translate("OfficeCommand", R"help(
Exit status: 0 when started, stopped or running, 1 when no office could be kept ready or
none runs, 2 for a usage error.
)help");
}

QList<QCommandLineOption> OfficeCommand::options() const
{
    return {
        QCommandLineOption(
            u"idle-minutes"_s,
            QCoreApplication::translate(
                "OfficeCommand", "minutes without a command before the background process ends"),
            u"N"_s, QString::number(kDefaultIdleMinutes)),
        QCommandLineOption(u"foreground"_s,
                           QCoreApplication::translate(
                               "OfficeCommand",
                               "keep the office from this process instead of a background one,\n"
                               "until stopped or idle (for a service manager)")),
    };
}

int OfficeCommand::run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    if (const std::optional<int> status = readArguments(parser, arguments, out, err))
        return *status;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(
            QCoreApplication::translate("OfficeCommand", "one of start, stop and status"), err);
    bool number = false;
    const int idleMinutes = parser.value(u"idle-minutes"_s).toInt(&number);
    if (!number || idleMinutes < 1 || idleMinutes > 24 * 60)
        return usageError(
            QCoreApplication::translate("OfficeCommand", "--idle-minutes takes 1 to 1440"), err);
    if (positional[0] == u"start"_s)
        return start(idleMinutes, parser.isSet(u"foreground"_s), out, err);
    if (parser.isSet(u"foreground"_s) || parser.isSet(u"idle-minutes"_s))
        return usageError(QCoreApplication::translate("OfficeCommand", "only start takes options"),
                          err);
    if (positional[0] == u"status"_s)
        return status(out);
    if (positional[0] == u"stop"_s) {
        const bool stopped = m_service.stop();
        out << (stopped ? u"stopped\n"_s
                        : QCoreApplication::translate("OfficeCommand", "not running\n"));
        return stopped ? ExitSuccess : ExitFailure;
    }
    return usageError(
        QCoreApplication::translate("OfficeCommand", "unknown action '%1'").arg(positional[0]),
        err);
}

int OfficeCommand::start(int idleMinutes, bool foreground, QTextStream& out, QTextStream& err)
{
    if (const qint64 keeper = m_service.status().keeperProcess) {
        out << QCoreApplication::translate("OfficeCommand", "already running: process %1\n")
                   .arg(keeper);
        return ExitSuccess;
    }
    if (foreground)
        return m_service.keep(std::chrono::minutes(idleMinutes)) ? ExitSuccess : ExitFailure;
    const qint64 child = startInBackground(idleMinutes);
    for (int waited = 0; child > 0 && waited < kStartWaitMs; waited += 100) {
        const host::ReadyOfficeService::Status now = m_service.status();
        if (!now.officeProcesses.isEmpty()) {
            out << QCoreApplication::translate("OfficeCommand",
                                               "started: process %1, ready office process %2\n")
                       .arg(now.keeperProcess)
                       .arg(now.officeProcesses.first());
            return ExitSuccess;
        }
        if (::waitpid(static_cast<pid_t>(child), nullptr, WNOHANG) != 0)
            break;
        QThread::msleep(100);
    }
    err << QCoreApplication::translate("OfficeCommand",
                                       "brelix-cli office: no office could be kept ready\n");
    return ExitFailure;
}

int OfficeCommand::status(QTextStream& out)
{
    const host::ReadyOfficeService::Status now = m_service.status();
    if (now.keeperProcess == 0) {
        out << QCoreApplication::translate("OfficeCommand", "not running\n");
        return ExitFailure;
    }
    out << QCoreApplication::translate("OfficeCommand", "running: process %1")
               .arg(now.keeperProcess);
    for (const qint64 office : now.officeProcesses)
        out << QCoreApplication::translate("OfficeCommand", ", ready office process %1")
                   .arg(office);
    if (now.officeProcesses.isEmpty())
        out << QCoreApplication::translate("OfficeCommand", ", no office idle just now");
    else
        out << QCoreApplication::translate("OfficeCommand", ", memory %1 MiB")
                   .arg(now.memoryKiB / 1024);
    out << u'\n';
    return ExitSuccess;
}

qint64 OfficeCommand::startInBackground(int idleMinutes)
{
    QList<QByteArray> args = {"brelix-cli",   "office",         "start",
                              "--foreground", "--idle-minutes", QByteArray::number(idleMinutes)};
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    for (const int fd : {0, 1, 2})
        posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, "/proc/self/exe", &files, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attr);
    return rc == 0 ? pid : 0;
}

} // namespace brelix::cli
