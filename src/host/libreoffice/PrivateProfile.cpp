#include "host/libreoffice/PrivateProfile.h"

#include "core/language/UiLanguage.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace brelix::libreoffice {

namespace {

// Preparing is one start of the office that ends by itself after its initialisation.
constexpr int kPrepareTimeoutMs = 60000;
// Names how the profile is prepared, so that a new way makes a new one.
constexpr char kPreparation[] = "converted one sample; version noted;";

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

// A preparation whose program was killed leaves its folders beside the prepared profiles;
// they go once that program has ended. Those of a program still preparing stay.
void removeAbandonedPreparations(const QDir& cache)
{
    const QString marker = QStringLiteral(".making-");
    const QStringList names = cache.entryList({QStringLiteral("office-profile-*") + marker + u'*'},
                                              QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool isNumber = false;
        const pid_t preparer = name.section(marker, 1).section(u'.', 0, 0).toInt(&isNumber);
        if (isNumber && preparer > 0 && ::kill(preparer, 0) != 0 && errno == ESRCH)
            QDir(cache.filePath(name)).removeRecursively();
    }
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
    // The office's windows speak Brelix's language, where its language pack is installed;
    // without the pack the office keeps its own.
    xml += "<item oor:path=\"/org.openoffice.Office.Linguistic/General\"><prop "
           "oor:name=\"UILocale\" oor:op=\"fuse\"><value>" +
           language::officeLocale(language::processLanguage()).toLatin1() +
           "</value></prop></item>\n";
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
    // The office keeps the language it started in; a profile made in another one would
    // change what an empty profile would have given.
    QByteArray locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
        locale += qgetenv(name) + '/';
    const QByteArray key =
        QCryptographicHash::hash(kPreparation + officeVersion() + locale + settingsXml(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return QDir(cache).filePath(QStringLiteral("brelix/office-profile-") + QLatin1String(key));
}

void PrivateProfile::populate(const QString& folder, bool prepared)
{
    if (prepared) {
        const QString source = preparedFolder();
        removeAbandonedPreparations(QFileInfo(source).dir());
        if ((QFileInfo(source).isDir() || prepare(source)) && copyFolder(source, folder))
            return;
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
    writeSettings(folder);
}

QByteArray PrivateProfile::productVersion(const QString& workingFolder)
{
    QProcess office;
    office.setWorkingDirectory(workingFolder);
    office.start(programFile("soffice"), {QStringLiteral("--version")});
    if (!office.waitForFinished(kPrepareTimeoutMs))
        office.kill();
    return office.readAllStandardOutput().trimmed();
}

// "7.4" of "LibreOffice 7.4.7.2 40(Build:2)"; empty when the office does not say.
QByteArray PrivateProfile::majorMinorVersion(const QString& workingFolder)
{
    const QList<QByteArray> words = productVersion(workingFolder).split(' ');
    if (words.size() < 2)
        return {};
    const QList<QByteArray> numbers = words[1].split('.');
    return numbers.size() < 2 ? QByteArray() : numbers[0] + '.' + numbers[1];
}

// The first start of a profile restarts the office once and notes so; a copy must not start
// as the second half of that restart. A headless office never notes the version it last ran
// as, so every start of a copy would count as the first after an upgrade and run the office's
// graphics tests first (about 3 s here): the copy says it ran this version already.
void PrivateProfile::finishPrepared(const QString& folder)
{
    QFile file(folder + QStringLiteral("/user/registrymodifications.xcu"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    lines.removeIf([](const QByteArray& line) { return line.contains("OfficeRestartInProgress"); });
    const QByteArray version = majorMinorVersion(folder);
    const qsizetype end = lines.indexOf("</oor:items>");
    if (!version.isEmpty() && end >= 0) {
        lines.insert(end, "<item oor:path=\"/org.openoffice.Setup/Product\"><prop "
                          "oor:name=\"ooSetupLastVersion\" oor:op=\"fuse\"><value>" +
                              version + "</value></prop></item>");
    }
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(lines.join('\n'));
}

bool PrivateProfile::prepare(const QString& target)
{
    // Made aside and renamed into place whole: another program may prepare at the same time,
    // and a copy must never meet a half-made profile.
    const QString making = target + QStringLiteral(".making-%1").arg(::getpid());
    const QString work = making + QStringLiteral(".work");
    QDir(making).removeRecursively();
    writeSettings(making);
    // One whole start of the office, through a conversion that ends it: a start that only
    // initialises leaves the check of its extensions to every later start.
    QDir().mkpath(work);
    QFile sample(work + QStringLiteral("/sample.csv"));
    if (sample.open(QIODevice::WriteOnly))
        sample.write("1\n");
    sample.close();
    QProcess office;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("URE_BOOTSTRAP"));
    env.insert(QStringLiteral("TMPDIR"), work);
    office.setProcessEnvironment(env);
    office.setStandardOutputFile(QProcess::nullDevice());
    office.setStandardErrorFile(QProcess::nullDevice());
    // Its own group, so that a stuck one goes with every helper it forked.
    office.setChildProcessModifier([] { ::setpgid(0, 0); });
    // The office cannot start in a folder the user cannot enter, as the one we started in may be.
    office.setWorkingDirectory(work);
    office.start(programFile("soffice"),
                 {QStringLiteral("--headless"), QStringLiteral("--invisible"),
                  QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                  QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
                  QStringLiteral("--nofirststartwizard"),
                  QStringLiteral("-env:UserInstallation=") +
                      QString::fromLatin1(QUrl::fromLocalFile(making).toEncoded()),
                  QStringLiteral("--convert-to"), QStringLiteral("ods"), QStringLiteral("--outdir"),
                  work, sample.fileName()});
    const bool ended = office.waitForStarted() && office.waitForFinished(kPrepareTimeoutMs);
    if (!ended && office.processId() > 0) {
        ::kill(-static_cast<pid_t>(office.processId()), SIGKILL);
        office.waitForFinished(5000);
    }
    bool made = ended && office.exitStatus() == QProcess::NormalExit && office.exitCode() == 0 &&
                QFileInfo(making + QStringLiteral("/user/registrymodifications.xcu")).isFile();
    if (made) {
        finishPrepared(making);
        QDir().mkpath(QFileInfo(target).path());
        made = QDir().rename(making, target) || QFileInfo(target).isDir();
    }
    QDir(making).removeRecursively();
    QDir(work).removeRecursively();
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
