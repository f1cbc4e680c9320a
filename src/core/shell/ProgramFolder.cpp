#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace brelix::shell {

QString programFolder()
{
    const QString home = qEnvironmentVariable("BRELIX_HOME");
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    return QCoreApplication::applicationDirPath();
}

QString programFile(const QString& name)
{
    return QDir(programFolder()).filePath(name);
}

} // namespace brelix::shell
