#include "GTestPrinters.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "OurOffices.h"
#include "ScriptedRunUi.h"
#include "core/host/ColorPalette.h"
#include "core/search/SearchRun.h"
#include "host/libreoffice/LibreOfficeHost.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::contract::fileBytes;
using brelix::contract::headlessOffice;
using brelix::contract::LibreOfficeWorkbookWriter;
using brelix::contract::textSheet;
using brelix::host::CellContent;
using brelix::host::CellTextKind;
using brelix::libreoffice::LibreOfficeHost;
using brelix::libreoffice::LibreOfficeHostFactory;
using brelix::support::ourOffices;
using brelix::support::ScriptedRunUi;
using brelix::support::WorkbookContent;

namespace brelix::search {
namespace {

// A search on a real office over workbooks of every kind the office wrote, one of them with a
// protected sheet and one damaged, with the template the build made: the hits, the saved
// results and every workbook untouched, with no office of the run left behind.
TEST(SearchOnOfficeTest, WorkbooksOfEveryKindAreSearchedAndTheResultsSaved)
{
    QTemporaryDir dir;
    const auto path = [&](const QString& name) { return QDir(dir.path()).filePath(name); };
    SearchSettings settings;
    settings.templatePath =
        QDir(qEnvironmentVariable("BRELIX_HOME")).filePath(u"Brelix_Format.xls"_s);
    settings.outputPath = path(u"Brelix.xls"_s);
    settings.hitFilePath = path(u"Brelix.grp"_s);
    settings.searchText = u"total"_s;
    {
        LibreOfficeWorkbookWriter writer;
        WorkbookContent xls;
        xls.sheets = {textSheet(u"売上"_s, {{u"品名"_s, u"Total"_s}, {u"りんご"_s, u"subtotal"_s}}),
                      textSheet(u"メモ"_s, {{}, {u""_s, u""_s, u"grand TOTAL"_s}})};
        xls.sheets[1].setCell(4, 1, CellContent::ofNumber(42));
        xls.sheets[1].isProtected = true;
        xls.sheets[1].password = u"himitsu"_s;
        writer.write(path(u"a.xls"_s), xls);
        writer.write(path(u"b.xlsx"_s),
                     WorkbookContent{{textSheet(u"Q1"_s, {{u"total, net \"x\""_s}})}});
        writer.write(path(u"c.csv"_s),
                     WorkbookContent{{textSheet(u"c"_s, {{u"1"_s, u"totals"_s}})}});
        writer.write(path(u"d.ods"_s), WorkbookContent{{textSheet(u"none"_s, {{u"nothing"_s}})}});
    }
    // A damaged zip: the office reads any other bytes named .xls as a sheet of text.
    QFile garbage(path(u"e.xlsx"_s));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    QByteArray noise("PK\x03\x04");
    for (int i = 0; i < 4096; ++i)
        noise.append(static_cast<char>((i * 7919) % 256));
    garbage.write(noise);
    garbage.close();
    QByteArray before;
    for (const QString& name : {u"a.xls"_s, u"b.xlsx"_s, u"c.csv"_s, u"d.ods"_s, u"e.xlsx"_s}) {
        settings.targets.append({name, path(name)});
        before += fileBytes(path(name));
    }
    const int offices = ourOffices();
    LibreOfficeHostFactory factory(headlessOffice());
    ScriptedRunUi ui;
    ui.answerPasswords({u"himitsu"_s});
    QString password;

    const SearchOutcome outcome = SearchRun(factory, ui, password).run(settings);

    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    EXPECT_EQ(outcome.skippedFiles, QStringList({u"e.xlsx"_s}));
    QStringList found;
    for (const HitRecord& hit : outcome.hits)
        found.append(HitFile::line(hit.fields()));
    EXPECT_EQ(found, QStringList({u"1,a.xls,売上,1,B1,TOTAL"_s, u"2,a.xls,売上,1,B2,SUBTOTAL"_s,
                                  u"3,a.xls,メモ,2,C2,GRAND TOTAL"_s,
                                  u"4,b.xlsx,Q1,1,A1,\"TOTAL, NET \"\"X\"\"\""_s,
                                  u"5,c.csv,c,1,B1,TOTALS"_s}));
    EXPECT_EQ(ourOffices(), offices) << "an office of the search is still running";
    EXPECT_FALSE(QFile::exists(settings.hitFilePath));
    QByteArray after;
    for (const SearchTarget& target : settings.targets)
        after += fileBytes(target.path);
    EXPECT_EQ(after, before);

    LibreOfficeHost reader(headlessOffice());
    const QString book = reader.openWorkbook(settings.outputPath);
    EXPECT_EQ(reader.sheetCount(book), 1);
    EXPECT_EQ(reader.sheetName(book, 1), u"Grep結果"_s);
    EXPECT_EQ(
        reader.rangeTexts(book, 1, {{5, 1}, {6, 6}}, CellTextKind::Value),
        QList<QStringList>({{u"4"_s, u"b.xlsx"_s, u"Q1"_s, u"1"_s, u"A1"_s, u"TOTAL, NET \"X\""_s},
                            {u"5"_s, u"c.csv"_s, u"c"_s, u"1"_s, u"B1"_s, u"TOTALS"_s}}));
    EXPECT_EQ(reader.cellColorIndex(book, 1, 2, 1), 6);
    EXPECT_EQ(reader.cellColorIndex(book, 1, 6, 2), host::ColorPalette::NoColor);
    EXPECT_TRUE(reader.cellBorders(book, 1, 6, 6).bottom);
    EXPECT_TRUE(reader.cellBorders(book, 1, 2, 3).top);
    EXPECT_EQ(reader.lastUsedCell(book, 1), (host::CellPosition{6, 6}));
    reader.quit();
}

} // namespace
} // namespace brelix::search
