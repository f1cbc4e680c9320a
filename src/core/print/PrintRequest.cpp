#include "core/print/PrintRequest.h"

#include "core/files/FolderFileList.h"

namespace brelix::print {

QList<PrintEntry> listedEntries(const QString& folder, const QStringList& names,
                                const QList<bool>& selected)
{
    QList<PrintEntry> entries;
    for (qsizetype i = 0; i < names.size(); ++i)
        entries.append({names[i], files::listedFilePath(folder, names[i]), selected.value(i)});
    return entries;
}

} // namespace brelix::print
