#include "GTestPrinters.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "OurOffices.h"
#include "ScriptedRunUi.h"
#include "core/compare/DiffRun.h"
#include "host/libreoffice/LibreOfficeHost.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::contract::fileBytes;
using brelix::contract::headlessOffice;
using brelix::contract::textSheet;
using brelix::host::CellTextKind;
using brelix::libreoffice::LibreOfficeHost;
using brelix::support::WorkbookContent;

namespace brelix::compare {
namespace {

WorkbookContent book(const QString& changed, const QString& password = {})
{
    WorkbookContent book;
    book.sheets = {
        textSheet(u"売上"_s,
                  {{u"品名"_s, u"数量"_s}, {u"りんご"_s, changed}, {u"みかん"_s, u"5"_s}}),
        textSheet(u"メモ"_s, {{u"a"_s, changed}})};
    book.sheets[0].isProtected = !password.isEmpty();
    book.sheets[0].password = password;
    book.sheets[1].visible = false;
    return book;
}

// A comparison of two workbooks the office wrote, with the template the build made: a
// protected sheet asks its password, a hidden sheet is left out, and the change history is
// saved in the template's format and left to the user; a wrong password ends it all. No
// office of the runs outlives them and neither workbook changes.
TEST(DiffOnOfficeTest, AnXlsPairLeavesASavedHistoryOrEndsAtAWrongPassword)
{
    QTemporaryDir dir;
    const auto path = [&](const QString& name) { return QDir(dir.path()).filePath(name); };
    DiffSettings settings;
    settings.templatePath =
        QDir(qEnvironmentVariable("BRELIX_HOME")).filePath(u"Brelix_Format.xls"_s);
    settings.outputPath = path(u"Brelix.xls"_s);
    settings.firstPath = path(u"old.xls"_s);
    settings.secondPath = path(u"new.xls"_s);
    {
        contract::LibreOfficeWorkbookWriter writer;
        writer.write(settings.firstPath, book(u"10"_s, u"himitsu"_s));
        writer.write(settings.secondPath, book(u"12"_s));
    }
    const QByteArray before = fileBytes(settings.firstPath) + fileBytes(settings.secondPath);
    const int offices = support::ourOffices();
    support::ScriptedRunUi ui;
    QString password;
    libreoffice::LibreOfficeHostFactory factory(headlessOffice());

    ui.answerPasswords({u"himitsu"_s});
    const DiffOutcome outcome = DiffRun(factory, ui, password).start(settings);
    ASSERT_EQ(outcome.ending, DiffEnding::Finished) << ui.errorReports().join(u'\n').toStdString();
    ASSERT_EQ(outcome.records.size(), 1);
    EXPECT_EQ(outcome.records[0].address, u"B2"_s);
    EXPECT_TRUE(
        fileBytes(settings.outputPath).contains(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16)));
    LibreOfficeHost reader(headlessOffice());
    const QString history = reader.openWorkbook(settings.outputPath);
    EXPECT_EQ(reader.sheetCount(history), 1);
    EXPECT_EQ(reader.sheetName(history, 1), u"変更履歴　old-new"_s);
    EXPECT_EQ(reader.rangeTexts(history, 1, {{2, 1}, {2, 6}}, CellTextKind::Value),
              QList<QStringList>({{u"1"_s, u"売上"_s, u"1"_s, u"B2"_s, u"10"_s, u"12"_s}}));
    EXPECT_EQ(reader.cellColorIndex(history, 1, 2, 1), 6);
    EXPECT_EQ(reader.cellText(history, 1, 4, 2, CellTextKind::Value),
              u"非表示のシートがありました。非表示シートは比較していません。"_s);
    reader.quit();

    ui.answerPasswords({u"wrong"_s});
    EXPECT_EQ(DiffRun(factory, ui, password).start(settings).ending, DiffEnding::PasswordFailed);
    EXPECT_EQ(ui.messages().last().text,
              u"ｄｉｆｆを中止しました\r\nSheet のパスワードエラーです"_s);
    EXPECT_EQ(support::ourOffices(), offices) << "an office of the comparison is still running";
    EXPECT_EQ(fileBytes(settings.firstPath) + fileBytes(settings.secondPath), before);
}

} // namespace
} // namespace brelix::compare
