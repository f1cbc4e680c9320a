#include "ui/desktop/SingleInstanceLock.h"

#include <QDir>
#include <unistd.h>

namespace brelix::ui {

SingleInstanceLock::SingleInstanceLock()
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QDir::tempPath();
    m_lock = std::make_unique<QLockFile>(
        QDir(folder).filePath(QStringLiteral("brelix-%1.lock").arg(::getuid())));
    m_lock->setStaleLockTime(0); // a lock of a crashed run is taken over
    m_locked = m_lock->tryLock(0);
}

} // namespace brelix::ui
