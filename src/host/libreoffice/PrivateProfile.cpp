#include "host/libreoffice/PrivateProfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <csignal>
#include <unistd.h>

namespace brelix::libreoffice {

namespace {

// Preparing is one start of the office that ends by itself after its initialisation.
constexpr int kPrepareTimeoutMs = 60000;

QString programFile(const char* name)
{
    return QDir(QStringLiteral(LIBREOFFICE_PROGRAM_DIR)).filePath(QLatin1String(name));
}

// An update of the office package rewrites its version file.
QByteArray officeVersion()
{
    QFile versionFile(programFile("versionrc"));
    QByteArray version = QFileInfo(versionFile).lastModified().toString(Qt::ISODate).toLatin1();
    if (versionFile.open(QIODevice::ReadOnly))
        version += versionFile.readAll();
    return version;
}

} // namespace

QByteArray PrivateProfile::settingsXml()
{
    struct Setting {
        const char* path;
        const char* name;
        const char* value;
    };
    static constexpr Setting settings[] = {
        // A workbook open in another office (or in a result handed to the user earlier) must
        // still open: runs never write the workbooks they read.
        {"/org.openoffice.Office.Common/Misc", "UseLocking", "false"},
        {"/org.openoffice.Office.Common/Misc", "UseDocumentSystemFileLocking", "false"},
        // Nothing may greet the user of a handed-over office or ask them about file formats.
        {"/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", "false"},
        {"/org.openoffice.Office.Common/Misc", "FirstRun", "false"},
        {"/org.openoffice.Office.Common/Save/Document", "WarnAlienFormat", "false"},
        {"/org.openoffice.Office.Common/Security/Scripting", "MacroSecurityLevel", "3"},
    };
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
                     "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                     "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";
    for (const Setting& s : settings)
        xml += QByteArray("<item oor:path=\"") + s.path + "\"><prop oor:name=\"" + s.name +
               "\" oor:op=\"fuse\"><value>" + s.value + "</value></prop></item>\n";
    xml += "</oor:items>\n";
    return xml;
}

void PrivateProfile::writeSettings(const QString& folder)
{
    QDir().mkpath(folder + QStringLiteral("/user"));
    QFile file(folder + QStringLiteral("/user/registrymodifications.xcu"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(settingsXml());
}

QString PrivateProfile::preparedFolder()
{
    const QByteArray key =
        QCryptographicHash::hash(officeVersion() + settingsXml(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return QDir(cache).filePath(QStringLiteral("brelix/office-profile-") + QLatin1String(key));
}

void PrivateProfile::populate(const QString& folder, bool prepared)
{
    if (prepared) {
        const QString source = preparedFolder();
        if ((QFileInfo(source).isDir() || prepare(source)) && copyFolder(source, folder))
            return;
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
    writeSettings(folder);
}

bool PrivateProfile::prepare(const QString& target)
{
    // Made aside and renamed into place whole: another program may prepare at the same time,
    // and a copy must never meet a half-made profile.
    const QString making = target + QStringLiteral(".making-%1").arg(::getpid());
    QDir(making).removeRecursively();
    writeSettings(making);
    QProcess office;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("URE_BOOTSTRAP"));
    office.setProcessEnvironment(env);
    office.setStandardOutputFile(QProcess::nullDevice());
    office.setStandardErrorFile(QProcess::nullDevice());
    // Its own group, so that a stuck one goes with every helper it forked.
    office.setChildProcessModifier([] { ::setpgid(0, 0); });
    office.start(programFile("soffice"),
                 {QStringLiteral("--headless"), QStringLiteral("--invisible"),
                  QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                  QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
                  QStringLiteral("--nofirststartwizard"),
                  QStringLiteral("-env:UserInstallation=") +
                      QString::fromLatin1(QUrl::fromLocalFile(making).toEncoded()),
                  QStringLiteral("--terminate_after_init")});
    const bool ended = office.waitForStarted() && office.waitForFinished(kPrepareTimeoutMs);
    if (!ended && office.processId() > 0) {
        ::kill(-static_cast<pid_t>(office.processId()), SIGKILL);
        office.waitForFinished(5000);
    }
    bool made = ended && office.exitStatus() == QProcess::NormalExit && office.exitCode() == 0 &&
                QFileInfo(making + QStringLiteral("/user/registrymodifications.xcu")).isFile();
    if (made) {
        QDir().mkpath(QFileInfo(target).path());
        made = QDir().rename(making, target) || QFileInfo(target).isDir();
    }
    QDir(making).removeRecursively();
    return made;
}

bool PrivateProfile::copyFolder(const QString& from, const QString& to)
{
    const QDir source(from);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        const QString copy = QDir(to).filePath(source.relativeFilePath(entry.filePath()));
        if (entry.isDir() ? !QDir().mkpath(copy) : !QFile::copy(entry.filePath(), copy))
            return false;
    }
    return true;
}

} // namespace brelix::libreoffice
