#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace brelix::files {

// What a dropped name turned out to be. Only kinds from DropShortcut up name a file for a box.
inline constexpr qint16 DropUnresolved = -1;      // network target, or a path left incomplete
inline constexpr qint16 DropNoPath = 0;           // a shortcut without a drive path
inline constexpr qint16 DropShortcut = 1;         // a shortcut's drive path
inline constexpr qint16 DropShortcutExtended = 3; // that path with a following line added
inline constexpr qint16 DropPlainFile = 4;        // anything not named ".lnk"

struct DropResult {
    qint16 kind = DropNoPath;
    QString path;

    friend bool operator==(const DropResult&, const DropResult&) = default;
};

// The target found in the bytes of a Windows shortcut, read as text lines (a line ends at CR
// or CR LF; every other byte, NUL included, belongs to it), each line UTF-8 or else CP932. The
// path comes as the shortcut wrote it ("C:\dir\book.xls"). A network target, and a path the
// file leaves incomplete, give DropUnresolved with `shortcutName` as the path.
DropResult readShortcut(const QByteArray& bytes, const QString& shortcutName);

// A Windows path as this system names it: the drive root becomes "/" and every "\" a "/".
QString localPathOf(const QString& windowsPath);

// A dropped name: a name not ending in ".lnk" (letter case counts) is taken as it stands;
// a ".lnk" file is read by readShortcut and a target it finds is given as a local path. A
// shortcut that is not a readable regular file gives DropNoPath with an empty path.
DropResult resolveDroppedFile(const QString& name);

// The text a file box receives from a drop of `names`: the last name that resolves, or
// nothing when none does and the box keeps its text.
std::optional<QString> textFromDrop(const QStringList& names);

} // namespace brelix::files
