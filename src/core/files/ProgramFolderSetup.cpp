#include "core/files/ProgramFolderSetup.h"

#include "core/files/ProgramFiles.h"
#include "core/files/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace brelix::files {

namespace {

const QString ManualName = u"Brelix.html"_s;
const QString EnglishManualName = u"Brelix_en.html"_s;
const QString ManualPictures = u"images"_s;
const QString TestWorkbooks = u"テストデータ"_s;

bool sameBytes(const QString& a, const QString& b)
{
    if (QFileInfo(a).size() != QFileInfo(b).size())
        return false;
    QFile fa(a);
    QFile fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    return fa.readAll() == fb.readAll();
}

} // namespace

ProgramFolderSetup ProgramFolderSetup::run()
{
    const ProgramFolderChoice choice = programFolderChoice();
    const QString executableFolder = QCoreApplication::applicationDirPath();
    if (choice.kind != ProgramFolderKind::Home && !QFileInfo(executableFolder).isWritable())
        return seed(perUserFolder(), executableFolder);
    ProgramFolderSetup setup;
    if (!QFileInfo(choice.path).isWritable()) {
        setup.m_userFolder = choice.path;
        setup.m_problems.append(Problem::ProgramFolderNotWritable);
    }
    return setup;
}

ProgramFolderSetup ProgramFolderSetup::seed(const QString& userFolder,
                                            const QString& installedFolder)
{
    ProgramFolderSetup setup;
    setup.m_userFolder = userFolder;
    setup.m_installedFolder = installedFolder;
    QString readFrom = userFolder;
    if (!QDir().mkpath(userFolder)) {
        setup.m_problems.append(Problem::FolderNotCreated);
        // The program then reads what it needs from the installed folder.
        readFrom = installedFolder;
    } else if (!QFileInfo(userFolder).isWritable()) {
        setup.m_problems.append(Problem::FolderNotWritable);
    } else {
        // The template and the test workbooks may be the user's own by now; the manual is ours.
        setup.copyOne(files::kTemplateFile, false);
        setup.copyFolder(TestWorkbooks, false);
        setup.copyOne(ManualName, true);
        setup.copyOne(EnglishManualName, true);
        setup.copyFolder(ManualPictures, true);
    }
    const QDir folder(readFrom);
    if (!QFileInfo(folder.filePath(files::kTemplateFile)).isFile())
        setup.m_problems.append(Problem::TemplateMissing);
    if (!QFileInfo(folder.filePath(ManualName)).isFile())
        setup.m_problems.append(Problem::ManualMissing);
    return setup;
}

void ProgramFolderSetup::copyOne(const QString& name, bool refreshWhenChanged)
{
    copyFile(QDir(m_installedFolder).filePath(name), QDir(m_userFolder).filePath(name),
             refreshWhenChanged);
}

void ProgramFolderSetup::copyFolder(const QString& name, bool refreshWhenChanged)
{
    const QDir from(QDir(m_installedFolder).filePath(name));
    if (!from.exists())
        return;
    const QDir to(QDir(m_userFolder).filePath(name));
    if (!QDir().mkpath(to.path()))
        return;
    for (const QString& file : from.entryList(QDir::Files))
        copyFile(from.filePath(file), to.filePath(file), refreshWhenChanged);
}

void ProgramFolderSetup::copyFile(const QString& from, const QString& to, bool refreshWhenChanged)
{
    if (!QFileInfo(from).isFile())
        return;
    if (QFileInfo::exists(to)) {
        if (!refreshWhenChanged || sameBytes(from, to))
            return;
        QFile::remove(to);
    }
    if (QFile::copy(from, to))
        // Installed files may be read-only; the user's copies are the user's.
        QFile::setPermissions(to, QFile::permissions(to) | QFile::WriteOwner | QFile::ReadOwner);
}

QString ProgramFolderSetup::title()
{
    return QCoreApplication::translate("ProgramFolderSetup", "フォルダ準備エラー");
}

QString ProgramFolderSetup::message() const
{
    // One paragraph a problem: what, where, and what follows from it.
    const QString crlf = u"\r\n"_s;
    const QString unsaved = QCoreApplication::translate(
        "ProgramFolderSetup",
        "設定 (Brelix.ini) と結果 (Brelix.xls, Brelix.grp) は保存されません。");
    QStringList paragraphs;
    for (const Problem problem : m_problems) {
        switch (problem) {
        case Problem::FolderNotCreated:
            paragraphs << QCoreApplication::translate("ProgramFolderSetup",
                                                      "個人用フォルダを作成できません。") +
                              crlf + m_userFolder + crlf + unsaved;
            break;
        case Problem::ProgramFolderNotWritable:
            paragraphs << QCoreApplication::translate("ProgramFolderSetup",
                                                      "プログラムのフォルダに書き込めません。") +
                              crlf + m_userFolder + crlf + unsaved;
            break;
        case Problem::FolderNotWritable:
            paragraphs << QCoreApplication::translate("ProgramFolderSetup",
                                                      "個人用フォルダに書き込めません。") +
                              crlf + m_userFolder + crlf + unsaved;
            break;
        case Problem::TemplateMissing:
            paragraphs << QCoreApplication::translate(
                              "ProgramFolderSetup",
                              "Brelix_Format.xls がインストール先にありません。") +
                              crlf + m_installedFolder + crlf +
                              QCoreApplication::translate(
                                  "ProgramFolderSetup",
                                  "比較と検索はできません。Brelix を入れ直して下さい。");
            break;
        case Problem::ManualMissing:
            paragraphs << QCoreApplication::translate(
                              "ProgramFolderSetup", "Brelix.html がインストール先にありません。") +
                              crlf + m_installedFolder + crlf +
                              QCoreApplication::translate("ProgramFolderSetup",
                                                          "ヘルプは表示できません。");
            break;
        }
    }
    return paragraphs.join(crlf + crlf);
}

} // namespace brelix::files
