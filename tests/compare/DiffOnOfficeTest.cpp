#include "GTestPrinters.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "OurOffices.h"
#include "ScriptedRunUi.h"
#include "core/compare/DiffRun.h"
#include "InspectableLibreOfficeHost.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::contract::fileBytes;
using brelix::contract::headlessOffice;
using brelix::host::CellTextKind;

namespace brelix::compare {
namespace {

support::WorkbookContent book(const QString& changed, bool locked)
{
    support::WorkbookContent book;
    book.sheets = {contract::textSheet(u"売上"_s, {{u"品名"_s, u"数量"_s}, {u"りんご"_s, changed}}),
                   contract::textSheet(u"メモ"_s, {{u"a"_s, changed}})};
    book.sheets[0].isProtected = locked;
    book.sheets[0].password = u"himitsu"_s;
    book.sheets[1].visible = false;
    return book;
}

// A comparison of two workbooks the office wrote, with the template the build made: the
// protected sheet asks its password, the hidden sheet is left out, and the change history is
// saved in the template's format. No office of the run outlives it and neither workbook
// changes.
TEST(DiffOnOfficeTest, AnXlsPairLeavesItsChangeHistorySaved)
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    const DiffSettings settings{
        folder.filePath(u"old.xls"_s),
        folder.filePath(u"new.xls"_s),
        folder.filePath(u"Brelix.xls"_s),
        QDir(qEnvironmentVariable("BRELIX_HOME")).filePath(u"Brelix_Format.xls"_s),
        {},
        {}};
    {
        contract::LibreOfficeWorkbookWriter writer;
        writer.write(settings.firstPath, book(u"10"_s, true));
        writer.write(settings.secondPath, book(u"12"_s, false));
    }
    const QByteArray before = fileBytes(settings.firstPath) + fileBytes(settings.secondPath);
    const int offices = support::ourOffices();
    libreoffice::LibreOfficeHostFactory factory(headlessOffice());
    support::ScriptedRunUi ui;
    ui.answerPasswords({u"himitsu"_s});
    QString password;

    const DiffOutcome outcome = DiffRun(factory, ui, password).start(settings);

    ASSERT_EQ(outcome.ending, DiffEnding::Finished) << ui.errorReports().join(u'\n').toStdString();
    EXPECT_EQ(support::ourOffices(), offices) << "an office of the comparison is still running";
    EXPECT_EQ(fileBytes(settings.firstPath) + fileBytes(settings.secondPath), before);
    EXPECT_TRUE(
        fileBytes(settings.outputPath).contains(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16)));
    contract::InspectableLibreOfficeHost reader(headlessOffice());
    const QString history = reader.openWorkbook(settings.outputPath);
    EXPECT_EQ(reader.sheetCount(history), 1);
    EXPECT_EQ(reader.sheetName(history, 1), u"変更履歴　old-new"_s);
    EXPECT_EQ(reader.rangeTexts(history, 1, {{2, 1}, {4, 6}}, CellTextKind::Value),
              QList<QStringList>(
                  {{u"1"_s, u"売上"_s, u"1"_s, u"B2"_s, u"10"_s, u"12"_s},
                   {u""_s, u""_s, u""_s, u""_s, u""_s, u""_s},
                   {u""_s, u"非表示のシートがありました。非表示シートは比較していません。"_s, u""_s,
                    u""_s, u""_s, u""_s}}));
    EXPECT_EQ(reader.cellColorIndex(history, 1, 2, 1), 6);
    reader.quit();
}

} // namespace
} // namespace brelix::compare
