#pragma once

#include "SavedEnvironment.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace brelix::support {

// A temporary folder that is the program's folder (BRELIX_HOME) while it lives; the earlier
// setting, or its absence, comes back afterwards.
class TemporaryProgramFolder {
public:
    TemporaryProgramFolder() { qputenv("BRELIX_HOME", QFile::encodeName(m_dir.path())); }
    TemporaryProgramFolder(const TemporaryProgramFolder&) = delete;
    TemporaryProgramFolder& operator=(const TemporaryProgramFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

private:
    SavedEnvironment m_environment{"BRELIX_HOME"};
    QTemporaryDir m_dir;
};

} // namespace brelix::support
