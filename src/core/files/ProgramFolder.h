#pragma once

#include <QString>

namespace brelix::files {

// Where the program's folder came from.
enum class ProgramFolderKind {
    Home,       // BRELIX_HOME
    Executable, // the executable's own folder
    PerUser,    // the user's own folder under the data directory
};

struct ProgramFolderChoice {
    ProgramFolderKind kind = ProgramFolderKind::Executable;
    QString path;

    friend bool operator==(const ProgramFolderChoice&, const ProgramFolderChoice&) = default;
};

// The rule on given facts. BRELIX_HOME (`home`, empty when unset) wins; then the executable's
// folder when this user may write to it (a portable copy, the build folder); then the per-user
// folder once it exists (an installed copy). When it could not be made, the executable's folder
// stands in, so that the installed template and manual are still found.
ProgramFolderChoice chooseProgramFolder(const QString& home, const QString& executableFolder,
                                        bool executableFolderWritable, const QString& perUserFolder,
                                        bool perUserFolderExists);

// The rule on this process's facts; asked afresh each time, as tests change BRELIX_HOME.
ProgramFolderChoice programFolderChoice();

// The folder that holds the template, the settings and the outputs.
QString programFolder();

// A file of the program's folder.
QString programFile(const QString& name);

// "Brelix" under the user's data directory (XDG_DATA_HOME, else ~/.local/share).
QString perUserFolder();

} // namespace brelix::files
