#include "core/run/PreviousResult.h"

#include "core/run/ProgramFiles.h"

#include <QFile>

namespace brelix::run {

PreviousResult::PreviousResult(const QString& path) : m_path(path)
{
    const QString aside = path + kSetAsideSuffix;
    QFile::remove(aside); // left by a run that never ended
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
