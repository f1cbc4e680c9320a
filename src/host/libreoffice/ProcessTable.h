#pragma once

#include <QList>
#include <QString>
#include <sys/types.h>

namespace brelix::libreoffice {

// What /proc tells of the processes of our offices.
class ProcessTable {
public:
    // A zombie has ended: it only waits for its parent, which may be slow to reap it.
    static bool isAlive(pid_t pid);
    // Alive, and still an office started on this very instance folder: guards against a
    // recycled process id.
    static bool officeRunsOn(pid_t pgid, const QString& folder);
    // The processes of a group that still run; zombies do not, as nothing may reap them here.
    static QList<pid_t> liveGroupMembers(pid_t pgid);
    // Of the group's processes together.
    static qint64 groupMemoryKiB(pid_t pgid);

private:
    static QList<QByteArray> statusFields(const QString& pid);
};

} // namespace brelix::libreoffice
