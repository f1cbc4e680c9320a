#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The two-column file list of the search and print screens, as data: the name column, the time
// column and their order (fileSortOrder).
namespace brelix::files {

// The orders of fileSortOrder; any other value leaves both columns empty.
enum FileSortOrder : qint16 {
    SortByName = 1,
    SortByNameReverse = 2,
    SortByTime = 3,
    SortByTimeReverse = 4,
};

// The title buttons above the columns, which sort the list.
enum ColumnTitle : int {
    NameTitle = 0,
    TimeTitle = 1,
};

// One file of the folder listing: its name and its time text ("yyyy/mm/dd hh:mm").
struct FolderEntry {
    QString name;
    QString time;

    friend bool operator==(const FolderEntry&, const FolderEntry&) = default;
};

// The sort key of the time orders: the time text, four blanks and the listing index. Keys
// compare as text, so within one minute index 10 comes before index 9.
QString timeSortKey(const QString& time, qsizetype index);

// fileSortOrder after a press of the title button `title`: the same title again reverses, the
// other title starts ascending.
qint16 sortAfterTitlePress(qint16 fileSortOrder, int title);

// What the name and the time column show, entry i of one belonging to entry i of the other. In
// the time orders the time column shows the whole sort key.
struct FileListColumns {
    QStringList names;
    QStringList times;

    friend bool operator==(const FileListColumns&, const FileListColumns&) = default;
};

// Both columns from the listing (in listing order) in the order fileSortOrder names.
FileListColumns buildFileList(const QList<FolderEntry>& listing, qint16 fileSortOrder);

// The path with every doubled separator "//" made single, in one pass from the left, so three
// in a row become two. Joining the root folder "/" with "/" and a name doubles it.
QString collapseSeparators(const QString& path);

// The file a job takes for a listed name: folder, "/" and name through collapseSeparators.
QString listedFilePath(const QString& folder, const QString& name);

} // namespace brelix::files
