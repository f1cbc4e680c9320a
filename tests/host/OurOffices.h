#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace brelix::support {

// Offices of this test program still running: their pipes carry our process id. Zombies
// waiting for their parent do not count.
inline int ourOffices()
{
    const QByteArray mark =
        "pipe,name=brelix-" + QByteArray::number(QCoreApplication::applicationPid()) + '-';
    int count = 0;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!cmdline.open(QIODevice::ReadOnly) || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const bool zombie = line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
        if (!zombie && cmdline.readAll().contains(mark) && line.contains("soffice.bin"))
            ++count;
    }
    return count;
}

} // namespace brelix::support
