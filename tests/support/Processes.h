#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <algorithm>
#include <sys/types.h>

namespace brelix::support {

// A process as /proc shows it.
struct ProcessEntry {
    pid_t pid = 0;
    pid_t parent = 0;
    pid_t group = 0;
    bool zombie = false; // ended, waiting for its parent
    QByteArray name;
    QByteArray commandLine;
};

inline QList<ProcessEntry> processes()
{
    QList<ProcessEntry> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!number || !stat.open(QIODevice::ReadOnly) || !commandLine.open(QIODevice::ReadOnly))
            continue;
        // pid (name) state ppid pgrp ...: the name may hold blanks, so split after it.
        const QByteArray line = stat.readAll();
        const qsizetype open = line.indexOf('(') + 1, close = line.lastIndexOf(')');
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (fields.size() > 2)
            found.append({pid, fields[1].toInt(), fields[2].toInt(), fields[0] == "Z",
                          line.mid(open, close - open), commandLine.readAll()});
    }
    return found;
}

inline bool running(qint64 pid)
{
    return std::ranges::any_of(processes(),
                               [&](const ProcessEntry& p) { return p.pid == pid && !p.zombie; });
}

// The files under `folder` that a process holds open.
inline QStringList filesOpenUnder(pid_t pid, const QString& folder)
{
    QStringList open;
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : descriptors.entryList(QDir::AllEntries | QDir::System))
        if (const QString file = QFile::symLinkTarget(descriptors.filePath(fd));
            file.startsWith(folder + u'/'))
            open.append(file);
    return open;
}

// A live member of the process group.
inline bool processGroupAlive(pid_t group)
{
    return std::ranges::any_of(
        processes(), [&](const ProcessEntry& p) { return p.group == group && !p.zombie; });
}

// The live processes of the offices that `owner` started: their pipes carry its process id.
inline QList<ProcessEntry> officesOf(qint64 owner = QCoreApplication::applicationPid())
{
    const QByteArray mark = "pipe,name=brelix-" + QByteArray::number(owner) + '-';
    QList<ProcessEntry> found;
    for (const ProcessEntry& p : processes())
        if (!p.zombie && p.commandLine.contains(mark))
            found.append(p);
    return found;
}

// Offices of this test program still running.
inline int ourOffices()
{
    return static_cast<int>(std::ranges::count_if(
        officesOf(), [](const ProcessEntry& p) { return p.name == "soffice.bin"; }));
}

} // namespace brelix::support
