#include "core/compare/ErrorReport.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace brelix::compare {

QString reportContact()
{
    // There is no mail address to give; the help document tells where to turn.
    return u"Brelix.html（プログラムと同じフォルダのヘルプ）"_s;
}

namespace {

QString place(const ErrorReportState::Place& place)
{
    return u"シートNo= "_s + QString::number(place.sheet) + u" , "_s + QString::number(place.rows) +
           u"行"_s + u" , "_s + QString::number(place.columns) + u"列"_s;
}

} // namespace

QString errorReportText(const ErrorReportState& state)
{
    const QStringList lines = {
        u"予期せぬエラーが発生してしまいました"_s,
        u"何でエラーになるのか調査したいので、"_s,
        u"ソフト作者に以下の内容をメール送信してもらえるとありがたいです。"_s,
        u"メールの件名： Brelix エラー報告"_s,
        u"メールの宛先： "_s + reportContact(),
        QString(),
        u"＜＜メールの内容＞＞"_s,
        u"１．このエラー内容をコピーしメールに貼り付ける"_s,
        u"２．エラー内容の <7:エラー発生場所> に何があるかの説明"_s,
        u"　　セルの式、値、書式など。"_s,
        u"３．動作環境： "_s + state.environment,
        u"４．再現の有無と再現方法"_s,
        QString(),
        u"＜＜エラー詳細内容＞＞"_s,
        u"<1:バージョン>"_s,
        u"Brelix-Ver.%1.%2"_s.arg(state.majorVersion).arg(state.minorVersion, 2, 10, QChar(u'0')),
        u"<2:トラップ番号>"_s,
        QString::number(state.stage),
        u"<3:エラー番号>"_s,
        QString::number(state.errorNumber),
        u"<4:エラー内容>"_s,
        state.errorDescription,
        u"<5:処理回数>"_s,
        QString::number(state.workDone) + u"回"_s,
        u"<6:ファイルのMAX情報>"_s,
        place(state.largest),
        u"<7:エラー発生場所>"_s,
        place(state.current),
        u"<8:ファイル名>"_s,
        u"Name1= "_s + state.names[0],
        u"Name2= "_s + state.names[1],
        u"Name3= "_s + state.names[2],
        u"<9:フルパス>"_s,
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
