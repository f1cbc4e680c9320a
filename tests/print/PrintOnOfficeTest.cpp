#include "GTestPrinters.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "OurOffices.h"
#include "ScriptedRunUi.h"
#include "core/print/PrintRun.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

using namespace Qt::StringLiterals;
using brelix::contract::fileBytes;
using brelix::support::WorkbookContent;

namespace brelix::print {
namespace {

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
TEST(PrintOnOfficeTest, EachScopePrintsItsSheetsAndPagesToPdfFiles)
{
    QTemporaryDir files;
    const auto file = [&](const QString& name) { return QDir(files.path()).filePath(name); };
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
    const QByteArray before = fileBytes(file(u"flip.xls"_s)) + fileBytes(file(u"plain.xls"_s));
    const int offices = support::ourOffices();
    support::ScriptedRunUi ui;
    QTemporaryDir pdfs;
    // Prints both workbooks and the entries after them into a fresh folder; its PDF files.
    const auto print = [&](PrintScope scope, const QList<PrintEntry>& more = {}) {
        const QString folder = pdfs.filePath(QString::number(static_cast<int>(scope)));
        QDir().mkpath(folder);
        qputenv("BRELIX_PDF_DIR", QFile::encodeName(folder));
        libreoffice::LibreOfficeHostFactory factory(contract::headlessOffice());
        PrintRequest request;
        request.entries =
            listedEntries(files.path(), {u"flip.xls"_s, u"plain.xls"_s}, {true, true}) + more;
        request.scope = scope;
        const PrintOutcome outcome = PrintRun(factory, ui).start(request);
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
    EXPECT_EQ(ui.messages().last(), (run::RunMessage{u"印刷が完了しました"_s, u"印刷完了通知"_s}));

    // One PDF per workbook with every page; the missing file is named in the last message.
    const QString whole = QString::number(shortPages + longPages);
    EXPECT_EQ(print(PrintScope::AllSheetsAllPages, {{u"gone.xls"_s, file(u"gone.xls"_s), true}}),
              QStringList({u"flip.pdf:"_s + whole, u"plain.pdf:"_s + whole}));
    EXPECT_EQ(ui.messages().last().text,
              u"印刷が完了しました\r\n\r\n印刷できなかったファイル：\r\ngone.xls"_s);

    EXPECT_EQ(print(PrintScope::AllSheetsFirstPage),
              QStringList({u"flip-Long.pdf:1"_s, u"flip-Short.pdf:1"_s, u"plain-Long.pdf:1"_s,
                           u"plain-Short.pdf:1"_s}));
    EXPECT_EQ(support::ourOffices(), offices) << "an office of the print runs is still running";
    EXPECT_EQ(fileBytes(file(u"flip.xls"_s)) + fileBytes(file(u"plain.xls"_s)), before);
}

// The office dies as the first of three workbooks prints: that one leaves no half-written
// PDF, and a new office prints the other two.
TEST(PrintOnOfficeTest, AnOfficeThatDiesWhilePrintingLeavesNoPartialPdfAndTheRestPrint)
{
    QTemporaryDir files;
    QTemporaryDir pdfs;
    const QStringList names = {u"big.xls"_s, u"a.xls"_s, u"b.xls"_s};
    {
        contract::LibreOfficeWorkbookWriter writer;
        for (const QString& name : names) {
            WorkbookContent book = WorkbookContent::withSheets({u"S"_s});
            fill(book.sheets[0], name == names[0] ? 2000 : 100);
            writer.write(QDir(files.path()).filePath(name), book);
        }
    }
    qputenv("BRELIX_PDF_DIR", QFile::encodeName(pdfs.path()));
    std::atomic<bool> ended = false;
    std::thread killer([&] {
        while (!ended && QDir(pdfs.path()).isEmpty(QDir::Files))
            QThread::msleep(2);
        const QByteArray mark =
            "pipe,name=brelix-" + QByteArray::number(QCoreApplication::applicationPid()) + '-';
        for (const QString& entry : QDir(u"/proc"_s).entryList(QDir::Dirs))
            if (fileBytes(u"/proc/%1/cmdline"_s.arg(entry)).contains(mark))
                ::kill(-::getpgid(entry.toInt()), SIGKILL);
    });
    libreoffice::LibreOfficeHostFactory factory(contract::headlessOffice());
    support::ScriptedRunUi ui;
    PrintRequest request;
    request.entries = listedEntries(files.path(), names, {true, true, true});
    request.scope = PrintScope::AllSheetsAllPages;
    const PrintOutcome outcome = PrintRun(factory, ui).start(request);
    ended = true;
    killer.join();
    qunsetenv("BRELIX_PDF_DIR");

    ASSERT_EQ(outcome.failures.size(), 1);
    EXPECT_EQ(outcome.printed, 2);
    const QStringList pdfFiles = QDir(pdfs.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(pdfFiles.size(), 2);
    EXPECT_FALSE(
        pdfFiles.contains(QFileInfo(outcome.failures[0].name).completeBaseName() + u".pdf"_s));
    for (const QString& pdf : pdfFiles)
        EXPECT_GT(contract::pdfPages(QDir(pdfs.path()).filePath(pdf)), 0) << pdf.toStdString();
}

} // namespace
} // namespace brelix::print
