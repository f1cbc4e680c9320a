#include "ui/desktop/SingleInstanceLock.h"

#include <QDir>
#include <QStandardPaths>
#include <unistd.h>

namespace brelix::ui {

SingleInstanceLock::SingleInstanceLock()
{
    // Qt's runtime folder is this user's alone (made 0700, refused when another user owns it);
    // a fixed name in /tmp would let another user hold the lock first and keep us from starting.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    QDir().mkpath(folder);
    m_lock = std::make_unique<QLockFile>(
        QDir(folder).filePath(QStringLiteral("brelix-%1.lock").arg(::getuid())));
    m_lock->setStaleLockTime(0); // a lock of a crashed run is taken over
    m_locked = m_lock->tryLock(0);
}

} // namespace brelix::ui
