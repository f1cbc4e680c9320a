#include "host/libreoffice/InstanceFolder.h"

#include "host/libreoffice/PrivateFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <unistd.h>

namespace brelix::libreoffice {

InstanceFolder InstanceFolder::ofPipe(const QString& pipeName)
{
    return InstanceFolder(QDir(PrivateFolder::officesFolder()).filePath(pipeName));
}

QByteArray InstanceFolder::profileUrl() const
{
    return QUrl::fromLocalFile(profile()).toEncoded();
}

// The pipe we connect through, and the office's single-instance pipe, named by the MD5 of its
// profile's URL in UTF-16 written as unpadded hex bytes.
QStringList InstanceFolder::sockets() const
{
    const QString prefix = QStringLiteral("/tmp/OSL_PIPE_%1_").arg(::getuid());
    const QString url = QString::fromLatin1(profileUrl());
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char*>(url.utf16()), url.size() * 2),
        QCryptographicHash::Md5);
    QString singleInstance = QStringLiteral("SingleOfficeIPC_");
    for (const char byte : digest)
        singleInstance += QString::number(static_cast<unsigned char>(byte), 16);
    return {prefix + QFileInfo(m_path).fileName(), prefix + singleInstance};
}

void InstanceFolder::remove() const
{
    QDir(m_path).removeRecursively();
    for (const QString& socket : sockets())
        QFile::remove(socket);
}

} // namespace brelix::libreoffice
