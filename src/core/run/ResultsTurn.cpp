#include "core/run/ResultsTurn.h"

#include "core/run/RunUi.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace brelix::run {

ResultsTurn::ResultsTurn(const QString& resultsPath)
    : m_folder(::open(QFile::encodeName(QFileInfo(resultsPath).absolutePath()).constData(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

ResultsTurn::~ResultsTurn()
{
    if (m_folder >= 0)
        ::close(m_folder); // the lock goes with it
}

bool ResultsTurn::take(RunUi& ui)
{
    while (m_folder >= 0 && ::flock(m_folder, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return true;
        ui.setCancelEnabled(true);
        ui.processEvents();
        if (ui.cancelRequested())
            return false;
        QThread::msleep(kLookEvery.count());
    }
    return true;
}

} // namespace brelix::run
