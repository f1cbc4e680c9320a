#pragma once

#include <QList>
#include <QString>

namespace brelix::files {

// Makes the program's folder ready at start-up. An installed copy, whose own folder this user
// cannot write to, gets a folder of the user's own: made on the first start and seeded with the
// installed template, manual and test workbooks. What could not be done is reported, and the
// program goes on without it.
class ProgramFolderSetup {
public:
    enum class Problem {
        FolderNotCreated,         // the per-user folder could not be made
        FolderNotWritable,        // it exists, but this user cannot write to it
        ProgramFolderNotWritable, // BRELIX_HOME or a portable copy's folder, likewise
        TemplateMissing,          // no Brelix_Format.xls, neither installed nor seeded before
        ManualMissing,            // no Brelix.html, likewise
    };

    // For this process: nothing to do with BRELIX_HOME or a writable executable's folder but
    // to find that it can be written; otherwise the per-user folder, seeded from the
    // executable's folder.
    static ProgramFolderSetup run();

    // Makes `userFolder` and copies into it what it lacks of `installedFolder`'s template,
    // test workbooks and manual. Nothing the user already has is replaced, but for the manual
    // and its pictures when the installed ones differ (after an upgrade).
    static ProgramFolderSetup seed(const QString& userFolder, const QString& installedFolder);

    // The folder the settings and results would go to.
    QString userFolder() const { return m_userFolder; }
    QString installedFolder() const { return m_installedFolder; }
    QList<Problem> problems() const { return m_problems; }

    // What went wrong and what follows from it, in the interface's language: one paragraph a
    // problem, lines joined by CR LF, an empty line between paragraphs; empty when all is well.
    QString message() const;
    static QString title();

private:
    void copyOne(const QString& name, bool refreshWhenChanged);
    void copyFolder(const QString& name, bool refreshWhenChanged);
    void copyFile(const QString& from, const QString& to, bool refreshWhenChanged);

    QString m_userFolder;
    QString m_installedFolder;
    QList<Problem> m_problems;
};

} // namespace brelix::files
