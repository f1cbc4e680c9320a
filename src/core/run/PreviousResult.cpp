#include "core/run/PreviousResult.h"

#include "core/files/ProgramFiles.h"

#include <QFile>

namespace brelix::run {

PreviousResult::PreviousResult(const QString& path) : m_path(path)
{
    const QString aside = path + files::kSetAsideSuffix;
    if (QFile::exists(aside)) {
        // Left by a run that was killed while it worked: the file at `path` is that run's
        // unfinished output, the one set aside the last whole result.
        QFile::remove(path);
        m_aside = aside;
        return;
    }
    if (QFile::exists(path) && QFile::rename(path, aside))
        m_aside = aside;
}

void PreviousResult::drop()
{
    if (!m_aside.isEmpty())
        QFile::remove(m_aside);
    m_aside.clear();
}

void PreviousResult::restore()
{
    if (m_aside.isEmpty())
        return;
    QFile::remove(m_path);
    QFile::rename(m_aside, m_path);
    m_aside.clear();
}

} // namespace brelix::run
