#include "core/files/FolderListing.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace brelix::files {

QStringList fileTypePatterns()
{
    return {u"*.xls"_s, u"*.csv"_s};
}

QString timeText(const QDateTime& modified)
{
    return modified.isValid() ? modified.toString(u"yyyy/MM/dd HH:mm"_s) : QString();
}

std::optional<FolderListing> FolderListing::read(const QString& folderText, const QString& pattern)
{
    // A relative text would depend on the program's working folder, which the user never sees.
    if (!QDir::isAbsolutePath(folderText))
        return std::nullopt;
    const QFileInfo folderInfo(folderText);
    if (!folderInfo.isDir() || !folderInfo.isReadable() || !folderInfo.isExecutable())
        return std::nullopt;

    FolderListing listing{QDir::cleanPath(folderText), {}};
    const QStringList filters = pattern.split(u';', Qt::SkipEmptyParts);
    if (filters.isEmpty())
        return listing;
    QDir dir(listing.folder);
    dir.setNameFilters(filters);
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Unsorted);
    listing.names = dir.entryList();
    // Names that differ only in letter case can both exist here; the tie keeps a fixed order.
    std::sort(listing.names.begin(), listing.names.end(), [](const QString& a, const QString& b) {
        const int byText = a.compare(b, Qt::CaseInsensitive);
        return byText != 0 ? byText < 0 : a < b;
    });
    return listing;
}

QList<FolderEntry> FolderListing::entries() const
{
    QList<FolderEntry> withTimes;
    withTimes.reserve(names.size());
    for (const QString& name : names)
        withTimes.append({name, timeText(QFileInfo(listedFilePath(folder, name)).lastModified())});
    return withTimes;
}

} // namespace brelix::files
