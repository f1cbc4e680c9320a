#pragma once

#include "core/files/FolderFileList.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace brelix::files {

// The entries of fileTypeFilter, in their order.
QStringList fileTypePatterns();

// "yyyy/mm/dd hh:mm" of a local time; empty for an invalid time.
QString timeText(const QDateTime& modified);

// The files of one folder that match the file type filter: what the file list is built from.
struct FolderListing {
    QString folder;
    QStringList names;

    // The listing of `folderText` with `pattern` (patterns separated by ";", letter case
    // ignored; an empty pattern matches nothing): regular files that are not hidden, ordered by
    // name ignoring letter case. Nothing when the text is not an absolute path of a folder that
    // can be listed; the caller then keeps the previous listing, so a half-typed path changes
    // nothing.
    static std::optional<FolderListing> read(const QString& folderText, const QString& pattern);

    // Each listed name with the time text of its file, read now. A file that has gone since the
    // listing keeps its entry with an empty time, so both columns stay the same length.
    QList<FolderEntry> entries() const;

    friend bool operator==(const FolderListing&, const FolderListing&) = default;
};

} // namespace brelix::files
