#include "core/files/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace brelix::files {

ProgramFolderChoice chooseProgramFolder(const QString& home, const QString& executableFolder,
                                        bool executableFolderWritable, const QString& perUserFolder,
                                        bool perUserFolderExists)
{
    if (!home.isEmpty())
        return {ProgramFolderKind::Home, QDir(home).absolutePath()};
    if (executableFolderWritable || !perUserFolderExists)
        return {ProgramFolderKind::Executable, executableFolder};
    return {ProgramFolderKind::PerUser, perUserFolder};
}

ProgramFolderChoice programFolderChoice()
{
    const QString home = qEnvironmentVariable("BRELIX_HOME");
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString user = perUserFolder();
    // access(2) on the folder: it knows read-only mounts, ACLs and who we are.
    return chooseProgramFolder(home, executableFolder, QFileInfo(executableFolder).isWritable(),
                               user, QFileInfo(user).isDir());
}

QString programFolder()
{
    return programFolderChoice().path;
}

QString programFile(const QString& name)
{
    return QDir(programFolder()).filePath(name);
}

QString perUserFolder()
{
    // As the XDG base directories say; Qt 6.4 would also take a relative XDG_DATA_HOME, which
    // would make the folder depend on where the program was started.
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir(data).filePath(QStringLiteral("Brelix"));
}

} // namespace brelix::files
