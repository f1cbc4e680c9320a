#include "GTestPrinters.h"
#include "InspectableLibreOfficeHost.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "OurOffices.h"
#include "ScriptedRunUi.h"
#include "core/compare/DiffRun.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::compare::DiffEnding;
using brelix::compare::DiffOutcome;
using brelix::compare::DiffRun;
using brelix::compare::DiffSettings;
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

namespace brelix::compare {
namespace {

// A comparison on a real office with the template the build made.
class DiffOnOfficeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_writer = new LibreOfficeWorkbookWriter; }
    static void TearDownTestSuite() { delete s_writer; }

    void SetUp() override
    {
        m_settings.templatePath =
            QDir(qEnvironmentVariable("BRELIX_HOME")).filePath(u"Brelix_Format.xls"_s);
        m_settings.outputPath = path(u"Brelix.xls"_s);
        ASSERT_TRUE(QFile::exists(m_settings.templatePath));
    }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    void books(const QString& suffix, const WorkbookContent& first, const WorkbookContent& second)
    {
        m_settings.firstPath = path(u"old."_s + suffix);
        m_settings.secondPath = path(u"new."_s + suffix);
        s_writer->write(m_settings.firstPath, first);
        s_writer->write(m_settings.secondPath, second);
        m_before = {fileBytes(m_settings.firstPath), fileBytes(m_settings.secondPath)};
    }
    DiffOutcome run()
    {
        const int before = ourOffices();
        LibreOfficeHostFactory factory(headlessOffice());
        const DiffOutcome outcome = DiffRun(factory, m_ui, m_password).start(m_settings);
        EXPECT_EQ(ourOffices(), before) << "an office of the comparison is still running";
        EXPECT_EQ(fileBytes(m_settings.firstPath), m_before.value(0));
        EXPECT_EQ(fileBytes(m_settings.secondPath), m_before.value(1));
        return outcome;
    }

    QTemporaryDir m_dir;
    DiffSettings m_settings;
    ScriptedRunUi m_ui;
    QString m_password;
    QList<QByteArray> m_before;
    static inline LibreOfficeWorkbookWriter* s_writer = nullptr;
};

WorkbookContent twoSheets(const QString& changed)
{
    WorkbookContent book;
    book.sheets = {
        textSheet(u"売上"_s,
                  {{u"品名"_s, u"数量"_s}, {u"りんご"_s, changed}, {u"みかん"_s, u"5"_s}}),
        textSheet(u"メモ"_s, {{u"a"_s}})};
    return book;
}

TEST_F(DiffOnOfficeTest, AnXlsPairWithAProtectedSheetLeavesASavedBiff8History)
{
    WorkbookContent first = twoSheets(u"10"_s);
    first.sheets[0].isProtected = true;
    first.sheets[0].password = u"himitsu"_s;
    books(u"xls"_s, first, twoSheets(u"12"_s));

    m_ui.answerPasswords({u"himitsu"_s});
    const DiffOutcome outcome = run();
    ASSERT_EQ(outcome.ending, DiffEnding::Finished)
        << m_ui.errorReports().join(u'\n').toStdString();
    ASSERT_EQ(outcome.records.size(), 1);
    EXPECT_EQ(outcome.records[0].address, u"B2"_s);

    const QByteArray saved = fileBytes(m_settings.outputPath);
    EXPECT_TRUE(saved.contains(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16)));
    InspectableLibreOfficeHost reader(headlessOffice());
    const QString book = reader.openWorkbook(m_settings.outputPath);
    EXPECT_EQ(reader.sheetCount(book), 1);
    EXPECT_EQ(reader.sheetName(book, 1), u"変更履歴　old-new"_s);
    EXPECT_EQ(reader.rangeTexts(book, 1, {{2, 1}, {2, 6}}, CellTextKind::Value),
              QList<QStringList>({{u"1"_s, u"売上"_s, u"1"_s, u"B2"_s, u"10"_s, u"12"_s}}));
    EXPECT_EQ(reader.cellColorIndex(book, 1, 2, 1), 6);
    reader.quit();

    m_ui.answerPasswords({u"wrong"_s});
    EXPECT_EQ(run().ending, DiffEnding::PasswordFailed);
    EXPECT_EQ(m_ui.messages().last().text,
              u"ｄｉｆｆを中止しました\r\nSheet のパスワードエラーです"_s);
}

TEST_F(DiffOnOfficeTest, HiddenSheetsCsvAndXlsxPairs)
{
    WorkbookContent hidden = twoSheets(u"1"_s);
    hidden.sheets[1].visible = false;
    WorkbookContent changed = twoSheets(u"2"_s);
    changed.sheets[0].setCell(3, 1, CellContent::ofText(u"ぶどう"_s));
    changed.sheets[1].visible = false;
    books(u"xlsx"_s, hidden, changed);
    DiffOutcome outcome = run();
    EXPECT_EQ(outcome.ending, DiffEnding::Finished);
    EXPECT_EQ(outcome.records.size(), 2);
    InspectableLibreOfficeHost reader(headlessOffice());
    QString book = reader.openWorkbook(m_settings.outputPath);
    EXPECT_EQ(reader.sheetName(book, 1), u"変更履歴　old-new"_s); // the whole ".xlsx" goes
    // Two records (rows 2 and 3) with borders, a blank row, then the note.
    EXPECT_EQ(reader.cellText(book, 1, 5, 2, CellTextKind::Value),
              u"非表示のシートがありました。非表示シートは比較していません。"_s);
    EXPECT_TRUE(reader.cellBorders(book, 1, 3, 6).bottom);
    EXPECT_EQ(reader.cellColorIndex(book, 1, 3, 1), 6);
    reader.closeWorkbook(book);

    books(u"csv"_s, twoSheets(u"1"_s), twoSheets(u"1.50"_s));
    m_settings.byFormula = true;
    outcome = run();
    EXPECT_EQ(outcome.ending, DiffEnding::Finished);
    ASSERT_EQ(outcome.records.size(), 1);
    EXPECT_EQ(outcome.records[0].secondText, u"1.5"_s); // numbers are read as numbers
    book = reader.openWorkbook(m_settings.outputPath);
    EXPECT_EQ(reader.cellColorIndex(book, 1, 2, 1), 4);
    reader.quit();
}

TEST_F(DiffOnOfficeTest, BadFilesAndABadTemplateEndInTheReportWithTheOfficeGone)
{
    // An encrypted workbook: the office cannot open it without its password.
    m_settings.firstPath = path(u"old.ods"_s);
    m_settings.secondPath = path(u"new.ods"_s);
    s_writer->write(m_settings.firstPath, twoSheets(u"1"_s));
    s_writer->write(m_settings.secondPath, twoSheets(u"2"_s), u"secret"_s);
    m_before = {fileBytes(m_settings.firstPath), fileBytes(m_settings.secondPath)};
    EXPECT_EQ(run().ending, DiffEnding::Failed);
    QStringList lines = m_ui.errorReports().last().split(u"\r\n"_s);
    EXPECT_EQ(lines.value(17), u"6"_s);

    books(u"xls"_s, twoSheets(u"1"_s), twoSheets(u"2"_s));
    m_settings.templatePath = path(u"template.xls"_s);
    s_writer->write(m_settings.templatePath, WorkbookContent::withSheets({u"変更履歴"_s}));
    EXPECT_EQ(run().ending, DiffEnding::Failed);
    lines = m_ui.errorReports().last().split(u"\r\n"_s);
    EXPECT_EQ(lines.value(17), u"203"_s);
}

} // namespace
} // namespace brelix::compare
