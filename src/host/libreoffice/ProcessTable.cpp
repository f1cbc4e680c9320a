#include "host/libreoffice/ProcessTable.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace brelix::libreoffice {

// The fields of /proc/<pid>/stat after the process's name (which may hold blanks): state,
// parent, group, ...; none when the process is gone.
QList<QByteArray> ProcessTable::statusFields(const QString& pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2).split(' ');
}

bool ProcessTable::isAlive(pid_t pid)
{
    if (pid <= 0 || (::kill(pid, 0) != 0 && errno != EPERM))
        return false;
    const QList<QByteArray> fields = statusFields(QString::number(pid));
    return fields.isEmpty() || fields[0] != "Z";
}

bool ProcessTable::officeRunsOn(pid_t pgid, const QString& folder)
{
    if (!isAlive(pgid))
        return false;
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pgid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return false;
    return cmdline.readAll().contains(QFile::encodeName(folder));
}

QList<pid_t> ProcessTable::liveGroupMembers(pid_t pgid)
{
    QList<pid_t> members;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool isProcess = false;
        const pid_t pid = entry.toInt(&isProcess);
        if (!isProcess)
            continue;
        const QList<QByteArray> fields = statusFields(entry);
        if (fields.size() > 2 && fields[2].toInt() == pgid && fields[0] != "Z")
            members.append(pid);
    }
    return members;
}

qint64 ProcessTable::groupMemoryKiB(pid_t pgid)
{
    qint64 pages = 0;
    for (const pid_t member : liveGroupMembers(pgid)) {
        QFile statm(QStringLiteral("/proc/%1/statm").arg(member));
        if (statm.open(QIODevice::ReadOnly))
            pages += statm.readAll().split(' ').value(1).toLongLong();
    }
    return pages * ::sysconf(_SC_PAGESIZE) / 1024;
}

} // namespace brelix::libreoffice
