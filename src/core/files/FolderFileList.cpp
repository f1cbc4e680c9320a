#include "core/files/FolderFileList.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace brelix::files {

namespace {

void append(FileListColumns& columns, const QString& name, const QString& time)
{
    columns.names.append(name);
    columns.times.append(time);
}

// The time orders sort the keys as text, letter case ignored; the index travels with its key.
FileListColumns byTime(const QList<FolderEntry>& listing, bool newestFirst)
{
    QList<std::pair<QString, qsizetype>> keys;
    keys.reserve(listing.size());
    for (qsizetype i = 0; i < listing.size(); ++i)
        keys.append({timeSortKey(listing.at(i).time, i), i});
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    if (newestFirst)
        std::reverse(keys.begin(), keys.end());

    FileListColumns columns;
    for (const auto& [key, index] : keys)
        append(columns, listing.at(index).name, key);
    return columns;
}

} // namespace

QString timeSortKey(const QString& time, qsizetype index)
{
    return time + u"    "_s + QString::number(index);
}

qint16 sortAfterTitlePress(qint16 fileSortOrder, int title)
{
    if (title == NameTitle)
        return fileSortOrder == SortByName ? SortByNameReverse : SortByName;
    if (title == TimeTitle)
        return fileSortOrder == SortByTime ? SortByTimeReverse : SortByTime;
    return fileSortOrder;
}

FileListColumns buildFileList(const QList<FolderEntry>& listing, qint16 fileSortOrder)
{
    FileListColumns columns;
    switch (fileSortOrder) {
    case SortByName:
        for (const FolderEntry& entry : listing)
            append(columns, entry.name, entry.time);
        break;
    case SortByNameReverse:
        for (auto it = listing.crbegin(); it != listing.crend(); ++it)
            append(columns, it->name, it->time);
        break;
    case SortByTime:
    case SortByTimeReverse:
        columns = byTime(listing, fileSortOrder == SortByTimeReverse);
        break;
    default:
        break;
    }
    return columns;
}

QString collapseSeparators(const QString& path)
{
    QString collapsed = path;
    return collapsed.replace(u"//"_s, u"/"_s);
}

QString listedFilePath(const QString& folder, const QString& name)
{
    return collapseSeparators(folder + u'/' + name);
}

} // namespace brelix::files
