#include "GTestPrinters.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "OurOffices.h"
#include "ScriptedRunUi.h"
#include "core/search/SearchRun.h"
#include "InspectableLibreOfficeHost.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::contract::fileBytes;
using brelix::contract::headlessOffice;
using brelix::contract::textSheet;
using brelix::support::WorkbookContent;

namespace brelix::search {
namespace {

// A search on a real office over workbooks of every kind the office wrote, one with a
// protected sheet and one damaged, with the template the build made: the hits, the saved
// results, every workbook untouched and no office of the run left behind.
TEST(SearchOnOfficeTest, WorkbooksOfEveryKindAreSearchedAndTheResultsSaved)
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    SearchSettings settings{
        u"total"_s,
        false,
        {},
        QDir(qEnvironmentVariable("BRELIX_HOME")).filePath(u"Brelix_Format.xls"_s),
        folder.filePath(u"Brelix.xls"_s),
        folder.filePath(u"Brelix.grp"_s)};
    {
        WorkbookContent xls{
            {textSheet(u"売上"_s, {{u"品名"_s, u"Total"_s}, {u"りんご"_s, u"subtotal"_s}}),
             textSheet(u"メモ"_s, {{}, {u""_s, u""_s, u"grand TOTAL"_s}})}};
        xls.sheets[1].isProtected = true;
        xls.sheets[1].password = u"himitsu"_s;
        contract::LibreOfficeWorkbookWriter writer;
        writer.write(folder.filePath(u"a.xls"_s), xls);
        writer.write(folder.filePath(u"b.xlsx"_s),
                     WorkbookContent{{textSheet(u"Q1"_s, {{u"total, net \"x\""_s}})}});
        writer.write(folder.filePath(u"c.csv"_s),
                     WorkbookContent{{textSheet(u"c"_s, {{u"1"_s, u"totals"_s}})}});
    }
    // A damaged zip, which the office cannot open.
    QFile garbage(folder.filePath(u"e.xlsx"_s));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    for (int i = 0; i < 4096; ++i)
        garbage.putChar(i < 4 ? "PK\x03\x04"[i] : static_cast<char>((i * 7919) % 256));
    garbage.close();
    QByteArray before;
    for (const QString& name : {u"a.xls"_s, u"b.xlsx"_s, u"c.csv"_s, u"e.xlsx"_s}) {
        settings.targets.append({name, folder.filePath(name)});
        before += fileBytes(folder.filePath(name));
    }
    const int offices = support::ourOffices();
    libreoffice::LibreOfficeHostFactory factory(headlessOffice());
    support::ScriptedRunUi ui;
    ui.answerPasswords({u"himitsu"_s});
    QString password;

    const SearchOutcome outcome = SearchRun(factory, ui, password).run(settings);

    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    EXPECT_EQ(outcome.skippedFiles, QStringList({u"e.xlsx"_s}));
    EXPECT_EQ(support::ourOffices(), offices) << "an office of the search is still running";
    EXPECT_FALSE(QFile::exists(settings.hitFilePath));
    QByteArray after;
    for (const SearchTarget& target : settings.targets)
        after += fileBytes(target.path);
    EXPECT_EQ(after, before);
    contract::InspectableLibreOfficeHost reader(headlessOffice());
    const QString book = reader.openWorkbook(settings.outputPath);
    EXPECT_EQ(reader.sheetCount(book), 1);
    EXPECT_EQ(reader.sheetName(book, 1), u"Grep結果"_s);
    EXPECT_EQ(reader.lastUsedCell(book, 1), (host::CellPosition{6, 6}));
    EXPECT_EQ(
        reader.rangeTexts(book, 1, {{2, 1}, {6, 6}}, host::CellTextKind::Value),
        QList<QStringList>({{u"1"_s, u"a.xls"_s, u"売上"_s, u"1"_s, u"B1"_s, u"TOTAL"_s},
                            {u"2"_s, u"a.xls"_s, u"売上"_s, u"1"_s, u"B2"_s, u"SUBTOTAL"_s},
                            {u"3"_s, u"a.xls"_s, u"メモ"_s, u"2"_s, u"C2"_s, u"GRAND TOTAL"_s},
                            {u"4"_s, u"b.xlsx"_s, u"Q1"_s, u"1"_s, u"A1"_s, u"TOTAL, NET \"X\""_s},
                            {u"5"_s, u"c.csv"_s, u"c"_s, u"1"_s, u"B1"_s, u"TOTALS"_s}}));
    EXPECT_EQ(reader.cellColorIndex(book, 1, 6, 1), 6);
    EXPECT_TRUE(reader.cellBorders(book, 1, 6, 6).bottom);
    reader.quit();
}

} // namespace
} // namespace brelix::search
