#include "host/libreoffice/InstanceSweeper.h"

#include "host/libreoffice/InstanceFolder.h"
#include "host/libreoffice/InstanceRecord.h"
#include "host/libreoffice/PrivateFolder.h"
#include "host/libreoffice/ProcessTable.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <csignal>

namespace brelix::libreoffice {

namespace {

constexpr qint64 kLongestFolderSetupSeconds = 300;

// Every place where a run may have made instance folders: the offices' folder depends on
// XDG_RUNTIME_DIR, and earlier runs made them in the temporary folder that TMPDIR names.
QStringList runtimeFolders()
{
    const QString offices = PrivateFolder::officesFolder();
    const QString name = QFileInfo(offices).fileName();
    QStringList folders = {offices, QDir(QStringLiteral("/tmp")).filePath(name),
                           QDir(QDir::tempPath()).filePath(name)};
    folders.removeDuplicates();
    return folders;
}

} // namespace

void InstanceSweeper::sweepStale()
{
    for (const QString& folder : runtimeFolders())
        if (PrivateFolder::check(folder)) // another user's records are none of ours
            sweepFolder(folder);
}

void InstanceSweeper::sweepFolder(const QString& runtime)
{
    QDir root(runtime);
    const QStringList entries = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : entries) {
        const InstanceFolder folder(root.filePath(name));
        const std::optional<InstanceRecord> record = InstanceRecord::read(folder.path());
        if (!record) {
            // Being made right now by another start (preparing the profile included), or left
            // by a program ended before its office started.
            if (QFileInfo(folder.path()).lastModified().secsTo(QDateTime::currentDateTime()) >
                kLongestFolderSetupSeconds)
                folder.remove();
            continue;
        }
        const pid_t owner = record->owner;
        const pid_t office = record->office;
        const bool handedOver = record->state == InstanceRecord::State::HandedOver;
        const bool officeAlive = ProcessTable::officeRunsOn(office, folder.path());
        if (officeAlive && (handedOver || ProcessTable::isAlive(owner)))
            continue;
        if (!officeAlive && ProcessTable::isAlive(owner) && !handedOver)
            continue; // its owner is still starting or stopping it
        if (officeAlive)
            ::kill(-office, SIGKILL);
        folder.remove();
    }
}

bool InstanceSweeper::handedOverInstanceOpen()
{
    const QString offices = PrivateFolder::officesFolder();
    if (!PrivateFolder::check(offices))
        return false;
    const QDir root(offices);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = root.filePath(name);
        const std::optional<InstanceRecord> record = InstanceRecord::read(folder);
        if (!record || record->state != InstanceRecord::State::HandedOver)
            continue;
        // An office the user closed may linger as a zombie of ours: it runs on no folder.
        const pid_t office = record->office;
        if (ProcessTable::officeRunsOn(office, folder))
            return true;
    }
    return false;
}

} // namespace brelix::libreoffice
