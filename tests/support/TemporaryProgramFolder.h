#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace brelix::support {

// A temporary folder that is the program's folder (BRELIX_HOME) while it lives; the earlier
// setting, or its absence, comes back afterwards.
class TemporaryProgramFolder {
public:
    TemporaryProgramFolder()
        : m_hadHome(qEnvironmentVariableIsSet("BRELIX_HOME")), m_home(qgetenv("BRELIX_HOME"))
    {
        qputenv("BRELIX_HOME", QFile::encodeName(m_dir.path()));
    }
    ~TemporaryProgramFolder()
    {
        if (m_hadHome)
            qputenv("BRELIX_HOME", m_home);
        else
            qunsetenv("BRELIX_HOME");
    }
    TemporaryProgramFolder(const TemporaryProgramFolder&) = delete;
    TemporaryProgramFolder& operator=(const TemporaryProgramFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

private:
    bool m_hadHome;
    QByteArray m_home;
    QTemporaryDir m_dir;
};

} // namespace brelix::support
