#include "GTestPrinters.h"
#include "InspectableLibreOfficeHost.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "OurOffices.h"
#include "ScriptedRunUi.h"
#include "core/host/ColorPalette.h"
#include "core/search/SearchRun.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::contract::fileBytes;
using brelix::contract::headlessOffice;
using brelix::contract::InspectableLibreOfficeHost;
using brelix::contract::LibreOfficeWorkbookWriter;
using brelix::contract::textSheet;
using brelix::host::CellContent;
using brelix::host::CellTextKind;
using brelix::libreoffice::LibreOfficeHostFactory;
using brelix::support::ourOffices;
using brelix::support::ScriptedRunUi;
using brelix::support::SheetContent;
using brelix::support::WorkbookContent;

namespace brelix::search {
namespace {

// A search on a real office over files the office wrote, with the template the build made.
class SearchOnOfficeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings.templatePath =
            QDir(qEnvironmentVariable("BRELIX_HOME")).filePath(u"Brelix_Format.xls"_s);
        m_settings.outputPath = path(u"Brelix.xls"_s);
        m_settings.hitFilePath = path(u"Brelix.grp"_s);
        ASSERT_TRUE(QFile::exists(m_settings.templatePath));
    }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    void select(const QString& name) { m_settings.targets.append({name, path(name)}); }

    QTemporaryDir m_dir;
    SearchSettings m_settings;
    ScriptedRunUi m_ui;
    QString m_password;
};

TEST_F(SearchOnOfficeTest, WorkbooksOfEveryKindAreSearchedAndTheResultsSaved)
{
    {
        LibreOfficeWorkbookWriter writer;
        WorkbookContent xls;
        xls.sheets = {textSheet(u"売上"_s, {{u"品名"_s, u"Total"_s}, {u"りんご"_s, u"subtotal"_s}}),
                      textSheet(u"メモ"_s, {{}, {u""_s, u""_s, u"grand TOTAL"_s}})};
        xls.sheets[1].setCell(4, 1, CellContent::ofNumber(42));
        writer.write(path(u"a.xls"_s), xls);
        WorkbookContent xlsx;
        xlsx.sheets = {textSheet(u"Q1"_s, {{u"total, net \"x\""_s}})};
        writer.write(path(u"b.xlsx"_s), xlsx);
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
    QList<QByteArray> before;
    for (const QString& name : {u"a.xls"_s, u"b.xlsx"_s, u"c.csv"_s, u"d.ods"_s, u"e.xlsx"_s}) {
        select(name);
        before.append(fileBytes(path(name)));
    }
    m_settings.searchText = u"total"_s;

    const int offices = ourOffices();
    LibreOfficeHostFactory factory(headlessOffice());
    const SearchOutcome outcome = SearchRun(factory, m_ui, m_password).run(m_settings);

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
    EXPECT_FALSE(QFile::exists(m_settings.hitFilePath));
    for (int i = 0; i < before.size(); ++i)
        EXPECT_EQ(fileBytes(m_settings.targets[i].path), before[i]) << i;

    InspectableLibreOfficeHost reader(headlessOffice());
    const QString book = reader.openWorkbook(m_settings.outputPath);
    EXPECT_EQ(reader.sheetCount(book), 1);
    EXPECT_EQ(reader.sheetName(book, 1), u"Grep結果"_s);
    EXPECT_EQ(
        reader.rangeTexts(book, 1, {{5, 1}, {6, 6}}, CellTextKind::Value),
        QList<QStringList>({{u"4"_s, u"b.xlsx"_s, u"Q1"_s, u"1"_s, u"A1"_s, u"TOTAL, NET \"X\""_s},
                            {u"5"_s, u"c.csv"_s, u"c"_s, u"1"_s, u"B1"_s, u"TOTALS"_s}}));
    EXPECT_EQ(reader.cellColorIndex(book, 1, 2, 1), 6);
    EXPECT_EQ(reader.cellColorIndex(book, 1, 6, 1), 6);
    EXPECT_EQ(reader.cellColorIndex(book, 1, 6, 2), host::ColorPalette::NoColor);
    EXPECT_TRUE(reader.cellBorders(book, 1, 6, 6).bottom);
    EXPECT_TRUE(reader.cellBorders(book, 1, 2, 3).top);
    EXPECT_EQ(reader.lastUsedCell(book, 1), (host::CellPosition{6, 6}));
    reader.quit();
}

TEST_F(SearchOnOfficeTest, AProtectedSheetAsksForItsPasswordAndAWrongOneLeavesNothingRunning)
{
    {
        LibreOfficeWorkbookWriter writer;
        WorkbookContent locked;
        locked.sheets = {textSheet(u"open"_s, {{u"abc"_s}}), textSheet(u"locked"_s, {{u"xabc"_s}})};
        locked.sheets[1].isProtected = true;
        locked.sheets[1].password = u"himitsu"_s;
        writer.write(path(u"locked.xls"_s), locked);
    }
    select(u"locked.xls"_s);
    m_settings.searchText = u"abc"_s;
    m_settings.caseSensitive = true;
    const int offices = ourOffices();
    LibreOfficeHostFactory factory(headlessOffice());

    m_ui.answerPasswords({u"himitsu"_s});
    SearchOutcome outcome = SearchRun(factory, m_ui, m_password).run(m_settings);
    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    EXPECT_EQ(outcome.hits.size(), 2);

    m_ui.answerPasswords({u"wrong"_s});
    outcome = SearchRun(factory, m_ui, m_password).run(m_settings);
    EXPECT_EQ(outcome.ending, SearchEnding::PasswordFailed);
    EXPECT_EQ(m_ui.messages().last().text, u"検索を中止しました\r\nSheet のパスワードエラーです"_s);
    EXPECT_EQ(ourOffices(), offices);
}

} // namespace
} // namespace brelix::search
