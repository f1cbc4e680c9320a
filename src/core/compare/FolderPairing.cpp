#include "core/compare/FolderPairing.h"

#include "core/compare/DiffRules.h"
#include "core/files/WorkbookKind.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>

using namespace Qt::StringLiterals;

namespace brelix::compare {

namespace {

// The workbooks under `folder` by relative path, and the folders that could not be read.
void collect(const QString& folder, bool first, QMap<QString, FolderFile>& files,
             QStringList& unreadable)
{
    const QDir root(folder);
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        const QString path = root.relativeFilePath(entry.filePath());
        if (entry.isDir()) {
            if (!entry.isSymLink() && !(entry.isReadable() && entry.isExecutable()))
                unreadable.append(path + u'/');
            continue;
        }
        // Office owner files ("~$book.xlsx") are no workbooks.
        if (entry.fileName().startsWith(u"~$"_s) || !files::WorkbookKind::fromName(path))
            continue;
        FolderFile& file = files[path];
        file.path = path;
        (first ? file.inFirst : file.inSecond) = true;
    }
}

} // namespace

bool FolderPairing::isFolderComparison(const QString& first, const QString& second)
{
    return QFileInfo(first.trimmed()).isDir() || QFileInfo(second.trimmed()).isDir();
}

std::optional<FolderPairing::Refusal> FolderPairing::refusal(const QString& first,
                                                             const QString& second)
{
    const QFileInfo firstInfo(first.trimmed());
    const QFileInfo secondInfo(second.trimmed());
    if (!firstInfo.exists() || !secondInfo.exists())
        return Refusal::Missing;
    if (!firstInfo.isDir() || !secondInfo.isDir())
        return Refusal::FolderAndFile;
    const auto withSlash = [](const QString& path) {
        return path.endsWith(u'/') ? path : path + u'/';
    };
    const QString a = withSlash(firstInfo.canonicalFilePath());
    const QString b = withSlash(secondInfo.canonicalFilePath());
    if (a.startsWith(b) || b.startsWith(a))
        return Refusal::Nested;
    return std::nullopt;
}

run::RunMessage FolderPairing::refusalMessage(Refusal refusal)
{
    if (refusal == Refusal::Missing)
        return compare::refusalMessage(DiffRefusal::FilesNotSelected);
    run::RunMessage message;
    message.title = QCoreApplication::translate("DiffRules", "指定エラー");
    message.icon = run::MessageIcon::Exclamation;
    message.text =
        refusal == Refusal::FolderAndFile
            ? QCoreApplication::translate("FolderPairing", "フォルダとファイルは比較できません") +
                  u"\r\n\r\n"_s +
                  QCoreApplication::translate("FolderPairing",
                                              "２つのファイルか、２つのフォルダを指定して下さい")
            : QCoreApplication::translate(
                  "FolderPairing", "同じフォルダ、または一方の中にあるフォルダは比較できません") +
                  u"\r\n\r\n"_s +
                  QCoreApplication::translate("FolderPairing", "別々のフォルダを指定して下さい");
    return message;
}

QList<FolderFile> FolderPairing::files(const QString& firstFolder, const QString& secondFolder)
{
    QMap<QString, FolderFile> files;
    QStringList unreadable;
    collect(firstFolder, true, files, unreadable);
    collect(secondFolder, false, files, unreadable);
    // What lies below a folder that one side could not read is unknown on both sides.
    for (const QString& folder : std::as_const(unreadable)) {
        files.removeIf([&](const auto& file) { return file.key().startsWith(folder); });
        files[folder] = {folder, false, false,
                         QCoreApplication::translate("FolderPairing", "フォルダを読めません")};
    }
    return files.values();
}

} // namespace brelix::compare
