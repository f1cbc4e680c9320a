#include "core/compare/ErrorReport.h"

#include <QCoreApplication>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace brelix::compare {

QString reportContact()
{
    // There is no mail address to give; the help document tells where to turn.
    return QCoreApplication::translate("ErrorReport",
                                       "Brelix.html（プログラムと同じフォルダのヘルプ）");
}

namespace {

QString place(const ErrorReportState::Place& place)
{
    return QCoreApplication::translate("ErrorReport", "シートNo= %1 , %2行 , %3列")
        .arg(place.sheet)
        .arg(place.rows)
        .arg(place.columns);
}

} // namespace

QString errorReportText(const ErrorReportState& state)
{
    const QStringList lines = {
        QCoreApplication::translate("ErrorReport", "予期せぬエラーが発生してしまいました"),
        QCoreApplication::translate("ErrorReport", "何でエラーになるのか調査したいので、"),
        QCoreApplication::translate(
            "ErrorReport", "ソフト作者に以下の内容をメール送信してもらえるとありがたいです。"),
        QCoreApplication::translate("ErrorReport", "メールの件名： Brelix エラー報告"),
        QCoreApplication::translate("ErrorReport", "メールの宛先： ") + reportContact(),
        QString(),
        QCoreApplication::translate("ErrorReport", "＜＜メールの内容＞＞"),
        QCoreApplication::translate("ErrorReport",
                                    "１．このエラー内容をコピーしメールに貼り付ける"),
        QCoreApplication::translate("ErrorReport",
                                    "２．エラー内容の <7:エラー発生場所> に何があるかの説明"),
        QCoreApplication::translate("ErrorReport", "　　セルの式、値、書式など。"),
        QCoreApplication::translate("ErrorReport", "３．動作環境： ") + state.environment,
        QCoreApplication::translate("ErrorReport", "４．再現の有無と再現方法"),
        QString(),
        QCoreApplication::translate("ErrorReport", "＜＜エラー詳細内容＞＞"),
        QCoreApplication::translate("ErrorReport", "<1:バージョン>"),
        u"Brelix-Ver.%1.%2"_s.arg(state.majorVersion).arg(state.minorVersion, 2, 10, QChar(u'0')),
        QCoreApplication::translate("ErrorReport", "<2:トラップ番号>"),
        QString::number(state.stage),
        QCoreApplication::translate("ErrorReport", "<3:エラー番号>"),
        QString::number(state.errorNumber),
        QCoreApplication::translate("ErrorReport", "<4:エラー内容>"),
        state.errorDescription,
        QCoreApplication::translate("ErrorReport", "<5:処理回数>"),
        QCoreApplication::translate("ErrorReport", "%1回").arg(state.workDone),
        QCoreApplication::translate("ErrorReport", "<6:ファイルのMAX情報>"),
        place(state.largest),
        QCoreApplication::translate("ErrorReport", "<7:エラー発生場所>"),
        place(state.current),
        QCoreApplication::translate("ErrorReport", "<8:ファイル名>"),
        u"Name1= "_s + state.names[0],
        u"Name2= "_s + state.names[1],
        u"Name3= "_s + state.names[2],
        QCoreApplication::translate("ErrorReport", "<9:フルパス>"),
        u"File1= "_s + state.paths[0],
        u"File2= "_s + state.paths[1],
        u"File3= "_s + state.paths[2],
    };
    QString text;
    for (const QString& line : lines)
        text += line + u"\r\n"_s;
    return text;
}

} // namespace brelix::compare
