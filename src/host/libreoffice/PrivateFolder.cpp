#include "host/libreoffice/PrivateFolder.h"

#include "core/host/HostError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brelix::libreoffice {

bool PrivateFolder::check(const QString& path)
{
    // Through one descriptor: the folder looked at is the one changed, even if the name moves.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool own = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
               (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
    if (own && (info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        own = ::fchmod(fd, S_IRWXU) == 0;
    ::close(fd);
    return own;
}

void PrivateFolder::make(const QString& path)
{
    if (::mkdir(QFile::encodeName(path).constData(), S_IRWXU) != 0 && errno != EEXIST)
        throw host::HostError(
            host::HostError::Kind::StartFailed,
            QCoreApplication::translate("PrivateFolder", "フォルダ %1 を作成できません").arg(path));
    if (!check(path))
        throw host::HostError(
            host::HostError::Kind::StartFailed,
            QCoreApplication::translate(
                "PrivateFolder",
                "フォルダ %1 が他のユーザーからも使えるため、LibreOffice を起動できません")
                .arg(path));
}

QString PrivateFolder::officesFolder()
{
    // XDG_RUNTIME_DIR when the session has one; asking Qt would warn on stderr when it is not.
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QFileInfo(base).isDir())
        base = QStringLiteral("/tmp");
    return QDir(base).filePath(QStringLiteral("brelix-office-%1").arg(::getuid()));
}

} // namespace brelix::libreoffice
