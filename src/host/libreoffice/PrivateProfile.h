#pragma once

#include <QByteArray>
#include <QString>

namespace brelix::libreoffice {

// The profile folder a private office starts on. An empty profile makes the office do its
// first-start work on every start, so the first start for a user prepares one profile in the
// user's cache folder, and later instances start from a copy of it. The prepared profile is
// named by the office's version and by our settings, so a new office or new settings make a
// new one; it never holds anything of a job.
class PrivateProfile {
public:
    // Fills `folder` for a new instance: a copy of the prepared profile (made now when there
    // is none yet) when `prepared`, our settings alone otherwise or when preparing fails.
    static void populate(const QString& folder, bool prepared);
    // Where the prepared profile of this office and these settings lies.
    static QString preparedFolder();
    // "LibreOffice 7.4.7.2 40(Build:2)", as the office says, asked from `workingFolder`;
    // empty when it does not say.
    static QByteArray productVersion(const QString& workingFolder);

private:
    static QByteArray settingsXml();
    static void writeSettings(const QString& folder);
    static bool prepare(const QString& target);
    static void finishPrepared(const QString& folder);
    static QByteArray majorMinorVersion(const QString& workingFolder);
    static bool copyFolder(const QString& from, const QString& to);
};

} // namespace brelix::libreoffice
