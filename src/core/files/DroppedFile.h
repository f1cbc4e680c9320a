#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace brelix::files {

// What a dropped name turned out to be.
struct DroppedFile {
    enum class Kind {
        Unresolved,           // a network target, or a path left incomplete
        NoPath,               // a shortcut without a drive path
        ShortcutPath,         // a shortcut's drive path
        ShortcutPathExtended, // that path with a following line added
        PlainFile,            // anything not named ".lnk"
    };

    Kind kind = Kind::NoPath;
    QString path;

    // Whether `path` names a file for a file box.
    bool namesFile() const
    {
        return kind == Kind::ShortcutPath || kind == Kind::ShortcutPathExtended ||
               kind == Kind::PlainFile;
    }

    friend bool operator==(const DroppedFile&, const DroppedFile&) = default;
};

// The target found in the bytes of a Windows shortcut, read as text lines (a line ends at CR
// or CR LF; every other byte, NUL included, belongs to it), each line UTF-8 or else CP932. The
// path comes as the shortcut wrote it ("C:\dir\book.xls"). A network target, and a path the
// file leaves incomplete, give Kind::Unresolved with `shortcutName` as the path.
DroppedFile readShortcut(const QByteArray& bytes, const QString& shortcutName);

// A Windows path as this system names it: the drive root becomes "/" and every "\" a "/".
QString localPathOf(const QString& windowsPath);

// A dropped name: a name not ending in ".lnk" (letter case counts) is taken as it stands;
// a ".lnk" file is read by readShortcut and a target it finds is given as a local path. A
// shortcut that is not a readable regular file gives Kind::NoPath with an empty path.
DroppedFile resolveDroppedFile(const QString& name);

// The text a file box receives from a drop of `names`: the last name that resolves, or
// nothing when none does and the box keeps its text.
std::optional<QString> textFromDrop(const QStringList& names);

} // namespace brelix::files
