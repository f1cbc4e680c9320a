#include "GTestPrinters.h"
#include "InspectableLibreOfficeHost.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "Processes.h"
#include "ScriptedRunUi.h"
#include "core/compare/DiffRun.h"
#include "core/compare/FolderDiffRun.h"
#include "core/print/PrintRun.h"
#include "core/run/ReadyOfficeFactory.h"
#include "core/search/SearchRun.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::contract::headlessOffice;
using brelix::contract::textSheet;
using brelix::host::CellTextKind;
using brelix::support::bytesOf;
using brelix::support::WorkbookContent;

// The comparison, the search and the print runs on a real office.
namespace brelix {
namespace {

using namespace compare;
using namespace search;
using namespace print;

// A run in a folder of its own with the template the build made, whose protected sheets open
// with "himitsu".
class RunsOnOfficeTest : public ::testing::Test {
protected:
    RunsOnOfficeTest() { m_ui.answerPasswords({u"himitsu"_s}); }

    QString file(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    static QString templatePath()
    {
        return QDir(qEnvironmentVariable("BRELIX_HOME")).filePath(u"Brelix_Format.xls"_s);
    }

    QTemporaryDir m_dir;
    libreoffice::LibreOfficeHostFactory m_factory{headlessOffice()};
    support::ScriptedRunUi m_ui;
    QString m_password;
};

WorkbookContent diffBook(const QString& changed, bool locked)
{
    WorkbookContent book;
    book.sheets = {textSheet(u"売上"_s, {{u"品名"_s, u"数量"_s}, {u"りんご"_s, changed}}),
                   textSheet(u"メモ"_s, {{u"a"_s, changed}})};
    book.sheets[0].isProtected = locked;
    book.sheets[0].password = u"himitsu"_s;
    book.sheets[1].visible = false;
    return book;
}

// A comparison of two workbooks the office wrote, with the template the build made: the
// protected sheet asks its password, the hidden sheet is left out, and the change history is
// saved in the template's format. No office of the run or kept ready outlives it and neither
// workbook changes.
TEST_F(RunsOnOfficeTest, AnXlsPairLeavesItsChangeHistorySaved)
{
    const DiffSettings settings{
        file(u"old.xls"_s), file(u"new.xls"_s), file(u"Brelix.xls"_s), templatePath(), {}, {}};
    {
        contract::LibreOfficeWorkbookWriter writer;
        writer.write(settings.firstPath, diffBook(u"10"_s, true));
        writer.write(settings.secondPath, diffBook(u"12"_s, false));
    }
    const QByteArray before = bytesOf(settings.firstPath) + bytesOf(settings.secondPath);
    const int offices = support::ourOffices();

    DiffOutcome outcome;
    {
        // As the window runs it: on the office kept ready, which the next one replaces.
        run::ReadyOfficeFactory ready(m_factory);
        ready.setEnabled(true);
        ASSERT_TRUE(ready.waitUntilReady(std::chrono::minutes(1)));
        outcome = DiffRun(ready, m_ui, m_password).start(settings);
        EXPECT_TRUE(ready.waitUntilReady(std::chrono::minutes(1)));
    }

    ASSERT_EQ(outcome.ending, DiffEnding::Finished)
        << m_ui.errorReports().join(u'\n').toStdString();
    EXPECT_EQ(support::ourOffices(), offices) << "an office of the comparison is still running";
    EXPECT_EQ(bytesOf(settings.firstPath) + bytesOf(settings.secondPath), before);
    EXPECT_TRUE(bytesOf(settings.outputPath).contains(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16)));
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
    EXPECT_EQ(reader.cellColourIndex(history, 1, 2, 1), 6);
    reader.quit();
}

// Starts offices that show, just before they are handed over, the fill of chosen cells.
class FillsAtHandOver : public host::SpreadsheetHostFactory {
public:
    using Look = std::function<void(contract::InspectableLibreOfficeHost&)>;
    explicit FillsAtHandOver(Look look) : m_look(std::move(look)) {}
    std::unique_ptr<host::SpreadsheetHost> start() override
    {
        class Host : public contract::InspectableLibreOfficeHost {
        public:
            Host(const Look& look) : InspectableLibreOfficeHost(headlessOffice()), m_look(look) {}
            void handOver() override
            {
                m_look(*this);
                InspectableLibreOfficeHost::handOver();
            }
            Look m_look;
        };
        return std::make_unique<Host>(m_look);
    }
    bool handedOverInstanceOpen() override { return false; }

private:
    Look m_look;
};

// Rows by key and sheets by name on a real office, an .xlsx against an .xls: rows sorted
// otherwise give only the changed cell, coloured on the second workbook's own sheet, and a sheet
// of each workbook alone gives its record; the saved history holds them with their kinds.
TEST_F(RunsOnOfficeTest, RowsByKeyAndSheetsByNameAcrossFormats)
{
    DiffSettings settings{
        file(u"old.xlsx"_s), file(u"new.xls"_s), file(u"Brelix.xls"_s), templatePath(), {}, {}};
    settings.keyColumns = {1};
    settings.bySheetName = true;
    settings.equality.ignoreWidth = true;
    {
        contract::LibreOfficeWorkbookWriter writer;
        writer.write(
            settings.firstPath,
            {{textSheet(u"売上"_s, {{u"ID"_s, u"数量"_s}, {u"A1"_s, u"10"_s}, {u"B2"_s, u"5"_s}}),
              textSheet(u"メモ"_s, {{u"x"_s}})}});
        writer.write(
            settings.secondPath,
            {{textSheet(u"追加"_s, {{u"y"_s}}),
              textSheet(u"売上"_s,
                        {{u"B2"_s, u"６"_s}, {u"ＩＤ"_s, u"数量"_s}, {u"A1"_s, u"１０"_s}})}});
    }
    int fill = 0;
    FillsAtHandOver factory([&](contract::InspectableLibreOfficeHost& office) {
        fill = office.cellColourIndex(u"new.xls"_s, 2, 1, 2);
    });

    const DiffOutcome outcome = DiffRun(factory, m_ui, m_password).start(settings);

    ASSERT_EQ(outcome.ending, DiffEnding::Finished)
        << m_ui.errorReports().join(u'\n').toStdString();
    EXPECT_EQ(fill, 7);
    contract::InspectableLibreOfficeHost reader(headlessOffice());
    const QString history = reader.openWorkbook(settings.outputPath);
    EXPECT_EQ(reader.rangeTexts(history, 1, {{2, 1}, {4, 8}}, CellTextKind::Value),
              QList<QStringList>({
                  {u"1"_s, u"売上"_s, u"1"_s, u"B3"_s, u"5"_s, u"６"_s, u"B1"_s, u"変更"_s},
                  {u"2"_s, u"メモ"_s, u"2"_s, u""_s, u""_s, u""_s, u""_s, u"シート削除"_s},
                  {u"3"_s, u"追加"_s, u"1"_s, u""_s, u""_s, u""_s, u""_s, u"シート挿入"_s},
              }));
    reader.quit();
}

// A search on a real office over workbooks of every kind the office wrote, one with a
// protected sheet and one damaged, with the template the build made: the hits, the saved
// results, every workbook untouched and no office of the run left behind.
TEST_F(RunsOnOfficeTest, WorkbooksOfEveryKindAreSearchedAndTheResultsSaved)
{
    SearchSettings settings{u"total"_s,           false, {}, templatePath(), file(u"Brelix.xls"_s),
                            file(u"Brelix.grp"_s)};
    {
        WorkbookContent xls{
            {textSheet(u"売上"_s, {{u"品名"_s, u"Total"_s}, {u"りんご"_s, u"subtotal"_s}}),
             textSheet(u"メモ"_s, {{}, {u""_s, u""_s, u"grand TOTAL"_s}})}};
        xls.sheets[1].isProtected = true;
        xls.sheets[1].password = u"himitsu"_s;
        contract::LibreOfficeWorkbookWriter writer;
        writer.write(file(u"a.xls"_s), xls);
        writer.write(file(u"b.xlsx"_s),
                     WorkbookContent{{textSheet(u"Q1"_s, {{u"total, net \"x\""_s}})}});
        writer.write(file(u"c.csv"_s),
                     WorkbookContent{{textSheet(u"c"_s, {{u"1"_s, u"totals"_s}})}});
    }
    // A damaged zip, which the office cannot open.
    QFile garbage(file(u"e.xlsx"_s));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    for (int i = 0; i < 4096; ++i)
        garbage.putChar(i < 4 ? "PK\x03\x04"[i] : static_cast<char>((i * 7919) % 256));
    garbage.close();
    QByteArray before;
    for (const QString& name : {u"a.xls"_s, u"b.xlsx"_s, u"c.csv"_s, u"e.xlsx"_s}) {
        settings.targets.append({name, file(name)});
        before += bytesOf(file(name));
    }
    const int offices = support::ourOffices();

    const SearchOutcome outcome = SearchRun(m_factory, m_ui, m_password).run(settings);

    EXPECT_EQ(outcome.ending, SearchEnding::Finished);
    EXPECT_EQ(outcome.skippedFiles, QStringList({u"e.xlsx"_s}));
    EXPECT_EQ(support::ourOffices(), offices) << "an office of the search is still running";
    EXPECT_FALSE(QFile::exists(settings.hitFilePath));
    QByteArray after;
    for (const SearchTarget& target : settings.targets)
        after += bytesOf(target.path);
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
    EXPECT_EQ(reader.cellColourIndex(book, 1, 6, 1), 6);
    EXPECT_TRUE(reader.cellBorders(book, 1, 6, 6).bottom);
    reader.quit();
}

// Two folders on a real office, sheets paired by name: a workbook the same in both, an .ods
// changed at depth, a text file changed (its sheet is named after the file, which is the same
// in both), one workbook of each folder alone and one damaged, which fails alone. The change
// history opens with the summary and holds the records of all, each led by its file; no office
// of the run outlives it.
TEST_F(RunsOnOfficeTest, AFolderPairGivesEachFileItsStatusAndOneHistory)
{
    DiffSettings settings{
        file(u"d1"_s), file(u"d2"_s), file(u"Brelix.xls"_s), templatePath(), {}, {}};
    settings.bySheetName = true;
    const auto book = [](const QString& text) {
        return WorkbookContent{{textSheet(u"売上"_s, {{u"品名"_s, text}})}};
    };
    const auto put = [&](const QString& name, const QByteArray& bytes) {
        QFile out(file(name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    };
    QDir().mkpath(file(u"d1/sub/deep"_s));
    QDir().mkpath(file(u"d2/sub/deep"_s));
    {
        contract::LibreOfficeWorkbookWriter writer;
        for (const QString& name :
             {u"d1/same.xls"_s, u"d2/same.xls"_s, u"d1/sub/deep/changed.ods"_s,
              u"d1/removed.xlsx"_s, u"d2/added.xls"_s, u"d1/damaged.xls"_s})
            writer.write(file(name), book(u"数量"_s));
        writer.write(file(u"d2/sub/deep/changed.ods"_s), book(u"数"_s));
    }
    put(u"d1/sub/list.csv"_s, "a,1\n");
    put(u"d2/sub/list.csv"_s, "a,2\n");
    put(u"d2/damaged.xls"_s, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8).repeated(64));
    const int offices = support::ourOffices();

    const FolderDiffOutcome outcome = FolderDiffRun(m_factory, m_ui, m_password).start(settings);

    ASSERT_EQ(outcome.ending, DiffEnding::Finished)
        << m_ui.errorReports().join(u'\n').toStdString();
    EXPECT_EQ(support::ourOffices(), offices) << "an office of the comparison is still running";
    contract::InspectableLibreOfficeHost reader(headlessOffice());
    const QString history = reader.openWorkbook(settings.outputPath);
    EXPECT_EQ(reader.sheetName(history, 1), u"一覧　d1-d2"_s);
    const QList<QStringList> summary =
        reader.rangeTexts(history, 1, {{2, 1}, {7, 5}}, CellTextKind::Value);
    EXPECT_EQ(summary.mid(0, 6),
              QList<QStringList>({
                  {u"1"_s, u"added.xls"_s, u"追加"_s, u""_s, u""_s},
                  {u"2"_s, u"damaged.xls"_s, u"比較失敗"_s, u""_s, summary[1][4]},
                  {u"3"_s, u"removed.xlsx"_s, u"削除"_s, u""_s, u""_s},
                  {u"4"_s, u"same.xls"_s, u"一致"_s, u"0"_s, u""_s},
                  {u"5"_s, u"sub/deep/changed.ods"_s, u"変更あり"_s, u"1"_s, u""_s},
                  {u"6"_s, u"sub/list.csv"_s, u"変更あり"_s, u"1"_s, u""_s},
              }));
    EXPECT_TRUE(summary[1][4].contains(u"damaged.xls"_s)) << summary[1][4].toStdString();
    EXPECT_EQ(reader.rangeTexts(history, 2, {{2, 1}, {3, 9}}, CellTextKind::Value),
              QList<QStringList>({{u"1"_s, u"sub/deep/changed.ods"_s, u"売上"_s, u"1"_s, u"B1"_s,
                                   u"数量"_s, u"数"_s, u"B1"_s, u"変更"_s},
                                  {u"1"_s, u"sub/list.csv"_s, u"list"_s, u"1"_s, u"B1"_s, u"1"_s,
                                   u"2"_s, u"B1"_s, u"変更"_s}}));
    reader.quit();
}

// Text down column A for `rows` rows: several pages.
void fill(support::SheetContent& sheet, int rows)
{
    for (int r = 1; r <= rows; ++r)
        sheet.setCell(r, 1, host::CellContent::ofText(u"%1 row %2"_s.arg(sheet.name).arg(r)));
}

// Two workbooks written by the office, each of two sheets of several pages, the longer sheet
// first in one and last in the other, both saved with their second sheet active, printed to
// PDF files with each scope that prints all pages or all sheets. No office of a run outlives it and
// no workbook changes.
TEST_F(RunsOnOfficeTest, EachScopePrintsItsSheetsAndPagesToPdfFiles)
{
    {
        contract::LibreOfficeWorkbookWriter writer;
        for (const bool longFirst : {false, true}) {
            WorkbookContent book =
                WorkbookContent::withSheets(longFirst ? QStringList{u"Long"_s, u"Short"_s}
                                                      : QStringList{u"Short"_s, u"Long"_s});
            for (auto& sheet : book.sheets)
                fill(sheet, sheet.name == u"Long"_s ? 300 : 150);
            book.activeSheet = 2;
            writer.write(file(longFirst ? u"flip.xls"_s : u"plain.xls"_s), book);
        }
    }
    const QByteArray before = bytesOf(file(u"flip.xls"_s)) + bytesOf(file(u"plain.xls"_s));
    const int offices = support::ourOffices();
    QTemporaryDir pdfs;
    // Prints both workbooks and the entries after them into a fresh folder; its PDF files.
    const auto print = [&](PrintScope scope, const QList<PrintEntry>& more = {}) {
        const QString folder = pdfs.filePath(QString::number(static_cast<int>(scope)));
        QDir().mkpath(folder);
        qputenv("BRELIX_PDF_DIR", QFile::encodeName(folder));
        libreoffice::LibreOfficeHostFactory factory(headlessOffice());
        PrintRequest request;
        request.entries =
            listedEntries(m_dir.path(), {u"flip.xls"_s, u"plain.xls"_s}, {true, true}) + more;
        request.scope = scope;
        const PrintOutcome outcome = PrintRun(factory, m_ui).start(request);
        qunsetenv("BRELIX_PDF_DIR");
        EXPECT_EQ(outcome.printed, 2 + more.size() - outcome.failures.size());
        QStringList pages;
        for (const QString& pdf : QDir(folder).entryList(QDir::Files, QDir::Name))
            pages.append(u"%1:%2"_s.arg(pdf).arg(contract::pdfPages(QDir(folder).filePath(pdf))));
        return pages;
    };

    // The first sheet by position, whichever sheet was active when the workbook was saved.
    const QStringList firstSheets = print(PrintScope::FirstSheetAllPages);
    ASSERT_EQ(firstSheets.size(), 2);
    EXPECT_TRUE(firstSheets[0].startsWith(u"flip-Long.pdf:"_s));
    EXPECT_TRUE(firstSheets[1].startsWith(u"plain-Short.pdf:"_s));
    const int longPages = firstSheets[0].section(u':', 1).toInt();
    const int shortPages = firstSheets[1].section(u':', 1).toInt();
    EXPECT_GT(shortPages, 1);
    EXPECT_GT(longPages, shortPages);
    EXPECT_EQ(m_ui.messages().last(),
              (run::RunMessage{u"印刷が完了しました"_s, u"印刷完了通知"_s}));

    // One PDF per workbook with every page; the missing file is named in the last message.
    const QString whole = QString::number(shortPages + longPages);
    EXPECT_EQ(print(PrintScope::AllSheetsAllPages, {{u"gone.xls"_s, file(u"gone.xls"_s), true}}),
              QStringList({u"flip.pdf:"_s + whole, u"plain.pdf:"_s + whole}));
    EXPECT_EQ(m_ui.messages().last().text,
              u"印刷が完了しました\r\n\r\n印刷できなかったファイル：\r\ngone.xls"_s);

    EXPECT_EQ(print(PrintScope::AllSheetsFirstPage),
              QStringList({u"flip-Long.pdf:1"_s, u"flip-Short.pdf:1"_s, u"plain-Long.pdf:1"_s,
                           u"plain-Short.pdf:1"_s}));
    EXPECT_EQ(support::ourOffices(), offices) << "an office of the print runs is still running";
    EXPECT_EQ(bytesOf(file(u"flip.xls"_s)) + bytesOf(file(u"plain.xls"_s)), before);
}

} // namespace
} // namespace brelix
