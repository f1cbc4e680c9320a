#include "MFullPath.h"

#include <QDir>
#include <QFileInfo>

namespace brelix::shell {

namespace {

// The name of the item at `partial` as its folder lists it; `typed` is the last component of
// `partial`. A file system that ignores letter case finds the item under any spelling, so the
// folder's listing gives the stored one.
QString storedName(const QString& partial, const QString& typed)
{
    if (typed.isEmpty())
        return {};
    const QFileInfo item(partial);
    if (!item.exists() && !item.isSymLink())
        return {};
    const QStringList names =
        QDir(item.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (names.contains(typed))
        return typed;
    for (const QString& name : names) {
        if (name.compare(typed, Qt::CaseInsensitive) == 0)
            return name;
    }
    // "." and "..", or a folder that may be passed through but not listed.
    return typed;
}

} // namespace

QString M_FullPath(const QString& path)
{
    // "//" stands where the original's network paths stood: left alone.
    if (!path.startsWith(u'/') || path.startsWith(u"//") || path.size() < 3)
        return path;

    QString result;
    qsizetype start = 1;
    while (start < path.size()) {
        const qsizetype separator = path.indexOf(u'/', start);
        const qsizetype end = separator < 0 ? path.size() : separator;
        result += u'/' + storedName(path.left(end), path.mid(start, end - start));
        if (separator < 0)
            break;
        start = separator + 1;
    }
    return result;
}

} // namespace brelix::shell
