#include "GTestPrinters.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "OurOffices.h"
#include "ScriptedRunUi.h"
#include "core/print/PrintRun.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using brelix::contract::fileBytes;
using brelix::contract::LibreOfficeWorkbookWriter;
using brelix::contract::pdfPages;
using brelix::host::CellContent;
using brelix::libreoffice::LibreOfficeHostFactory;
using brelix::run::RunMessage;
using brelix::support::ourOffices;
using brelix::support::ScriptedRunUi;
using brelix::support::WorkbookContent;

namespace brelix::print {
namespace {

// Text down column A for `rows` rows: several pages.
void fill(support::SheetContent& sheet, int rows)
{
    for (int r = 1; r <= rows; ++r)
        sheet.setCell(r, 1, CellContent::ofText(u"%1 row %2"_s.arg(sheet.name).arg(r)));
}

// Two workbooks written by the office, each of two sheets of several pages, the longer sheet
// first in one and last in the other, both saved with their second sheet active; and a copy
// of one under the same name in another folder. Each case prints them with one scope into a
// PDF folder of its own.
class PrintOnOfficeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_files = new QTemporaryDir;
        LibreOfficeWorkbookWriter writer;
        for (const bool longFirst : {false, true}) {
            WorkbookContent book =
                WorkbookContent::withSheets(longFirst ? QStringList{u"Long"_s, u"Short"_s}
                                                      : QStringList{u"Short"_s, u"Long"_s});
            for (auto& sheet : book.sheets)
                fill(sheet, sheet.name == u"Long"_s ? 300 : 150);
            book.activeSheet = 2;
            writer.write(file(longFirst ? u"flip.xls"_s : u"plain.xls"_s), book);
        }
        QDir(s_files->path()).mkdir(u"copy"_s);
        QFile::copy(file(u"plain.xls"_s), file(u"copy/plain.xls"_s));
    }
    static void TearDownTestSuite() { delete s_files; }
    static QString file(const QString& name) { return QDir(s_files->path()).filePath(name); }

    // Prints the listed workbooks (and the entries after them) with one scope and answers Yes.
    PrintOutcome print(PrintScope scope, const QList<PrintEntry>& more = {})
    {
        const QStringList names = {u"flip.xls"_s, u"plain.xls"_s};
        const QByteArray before[] = {fileBytes(file(names[0])), fileBytes(file(names[1]))};
        const int offices = ourOffices();
        qputenv("BRELIX_PDF_DIR", QFile::encodeName(m_pdfs.path()));
        LibreOfficeHostFactory factory(contract::headlessOffice());
        PrintRequest request;
        request.entries = listedEntries(s_files->path(), names, {true, true}) + more;
        request.scope = scope;
        const PrintOutcome outcome = PrintRun(factory, m_ui).start(request);
        qunsetenv("BRELIX_PDF_DIR");

        EXPECT_EQ(ourOffices(), offices) << "an office of the print run is still running";
        EXPECT_EQ(fileBytes(file(names[0])), before[0]);
        EXPECT_EQ(fileBytes(file(names[1])), before[1]);
        return outcome;
    }
    QStringList pdfs() const { return QDir(m_pdfs.path()).entryList(QDir::Files, QDir::Name); }
    int pages(const QString& name) const { return pdfPages(QDir(m_pdfs.path()).filePath(name)); }

    QTemporaryDir m_pdfs;
    ScriptedRunUi m_ui;
    static inline QTemporaryDir* s_files = nullptr;
};

TEST_F(PrintOnOfficeTest, TheAllPagesScopesPrintTheFirstSheetOrEverySheetInFull)
{
    // The first sheet by position, whichever sheet was active when the workbook was saved.
    PrintOutcome outcome = print(PrintScope::FirstSheetAllPages);
    EXPECT_EQ(outcome.printed, 2);
    EXPECT_EQ(m_ui.messages().last(), (RunMessage{u"印刷が完了しました"_s, u"印刷完了通知"_s}));
    EXPECT_EQ(pdfs(), QStringList({u"flip-Long.pdf"_s, u"plain-Short.pdf"_s}));
    const int shortPages = pages(u"plain-Short.pdf"_s);
    const int longPages = pages(u"flip-Long.pdf"_s);
    EXPECT_GT(shortPages, 1);
    EXPECT_GT(longPages, shortPages);

    // One PDF per workbook with every page. The copy has the name of a workbook printed
    // before it in the same run; the missing file is named in the completion message.
    outcome = print(PrintScope::AllSheetsAllPages,
                    {{u"copy/plain.xls"_s, file(u"copy/plain.xls"_s), true},
                     {u"gone.xls"_s, file(u"gone.xls"_s), true}});
    EXPECT_EQ(outcome.printed, 3);
    EXPECT_EQ(m_ui.messages().last().text,
              u"印刷が完了しました\r\n\r\n印刷できなかったファイル：\r\ngone.xls"_s);
    EXPECT_EQ(pdfs(), QStringList({u"flip-Long.pdf"_s, u"flip.pdf"_s, u"plain (2).pdf"_s,
                                   u"plain-Short.pdf"_s, u"plain.pdf"_s}));
    for (const QString& whole : {u"flip.pdf"_s, u"plain.pdf"_s, u"plain (2).pdf"_s})
        EXPECT_EQ(pages(whole), shortPages + longPages) << whole.toStdString();
}

TEST_F(PrintOnOfficeTest, AllSheetsFirstPageMakesOneOnePagePdfPerSheet)
{
    const PrintOutcome outcome = print(PrintScope::AllSheetsFirstPage);
    EXPECT_EQ(outcome.printed, 2);
    EXPECT_TRUE(outcome.failures.isEmpty());
    EXPECT_EQ(pdfs(), QStringList({u"flip-Long.pdf"_s, u"flip-Short.pdf"_s, u"plain-Long.pdf"_s,
                                   u"plain-Short.pdf"_s}));
    for (const QString& pdf : pdfs())
        EXPECT_EQ(pages(pdf), 1) << pdf.toStdString();
}

TEST_F(PrintOnOfficeTest, FirstSheetFirstPageMakesOneOnePagePdfPerWorkbook)
{
    const PrintOutcome outcome = print(PrintScope::FirstSheetFirstPage);
    EXPECT_EQ(outcome.printed, 2);
    EXPECT_EQ(pdfs(), QStringList({u"flip-Long.pdf"_s, u"plain-Short.pdf"_s}));
    EXPECT_EQ(pages(u"flip-Long.pdf"_s), 1);
    EXPECT_EQ(pages(u"plain-Short.pdf"_s), 1);
}

} // namespace
} // namespace brelix::print
