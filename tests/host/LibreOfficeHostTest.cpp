#include "host/libreoffice/LibreOfficeHost.h"

#include "GTestPrinters.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "ThrownKind.h"
#include "host/libreoffice/OfficeProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellTextKind;
using brelix::host::HostError;
using brelix::libreoffice::LibreOfficeHost;
using brelix::support::thrownKind;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

const QString kCorpus = u"" BRELIX_CORPUS_DIR ""_s;

// A live member of the group; zombies waiting for init do not count.
bool processGroupAlive(pid_t pgid)
{
    const QStringList entries = QDir(u"/proc"_s).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        QFile stat(u"/proc/%1/stat"_s.arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid pgrp ...: the name may hold blanks, so split after it.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields[2].toInt() == pgid && fields[0] != "Z")
            return true;
    }
    return false;
}

// One office writes the files and one reads them for every test that does not end it.
class LibreOfficeHostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_writer = new LibreOfficeWorkbookWriter;
        s_host = new LibreOfficeHost(headlessOffice());
    }
    static void TearDownTestSuite()
    {
        delete s_host;
        delete s_writer;
    }
    void TearDown() override
    {
        if (s_host)
            s_host->closeAllWorkbooks();
    }

    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    QString write(const QString& name, const WorkbookContent& content, const QString& password = {})
    {
        const QString p = path(name);
        s_writer->write(p, content, password);
        return p;
    }
    static LibreOfficeHost& host() { return *s_host; }

    // Several pages of text on each of the given sheets.
    static WorkbookContent longSheets(const QStringList& names, int rows)
    {
        WorkbookContent content = WorkbookContent::withSheets(names);
        for (auto& sheet : content.sheets)
            for (int r = 1; r <= rows; ++r)
                sheet.setCell(r, 1, CellContent::ofText(u"%1 row %2"_s.arg(sheet.name).arg(r)));
        return content;
    }

    QTemporaryDir m_dir;
    static inline LibreOfficeWorkbookWriter* s_writer = nullptr;
    static inline LibreOfficeHost* s_host = nullptr;
};

// A BIFF8 workbook: a compound file with a "Workbook" stream that begins with a BOF record of
// version 0x0600 (BIFF5 files name the stream "Book" and carry 0x0500).
bool isBiff8(const QByteArray& bytes)
{
    const QByteArray ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    const QByteArray stream = QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16);
    const QByteArray bof("\x09\x08\x10\x00\x00\x06", 6);
    return bytes.startsWith(ole) && bytes.contains(stream) && bytes.contains(bof);
}

TEST_F(LibreOfficeHostTest, AnXlsSavedByTheHostStaysBiff8WithItsChanges)
{
    const QString file = write(u"keep.xls"_s, WorkbookContent::withSheets({u"A"_s, u"B"_s}));
    const QString book = host().openWorkbook(file);
    host().writeRows(book, 1, 2, 1, {{1, u"名前"_s, 3, u"C5"_s, u"=1+1"_s, u""_s}});
    host().fillCells(book, 1, {{2, 1}, {2, 5}}, 7);
    host().drawGrid(book, 1, {{2, 1}, {3, 6}});
    host().saveWorkbook(book);
    host().closeWorkbook(book);

    EXPECT_TRUE(isBiff8(fileBytes(file)));
    const QString again = host().openWorkbook(file);
    EXPECT_EQ(host().rangeTexts(again, 1, {{2, 1}, {2, 6}}, CellTextKind::Formula),
              QList<QStringList>({{u"1"_s, u"名前"_s, u"3"_s, u"C5"_s, u"=1+1"_s, u""_s}}));
    EXPECT_EQ(host().cellColorIndex(again, 1, 2, 5), 7);
    EXPECT_EQ(host().cellColorIndex(again, 1, 2, 2), 0);
    EXPECT_TRUE(host().cellBorders(again, 1, 3, 6).bottom);
    EXPECT_EQ(host().sheetCount(again), 2);
}

TEST_F(LibreOfficeHostTest, PrintsAllPagesOrThePagesAskedForToPdfFiles)
{
    const QString file = write(u"report.xls"_s, longSheets({u"First"_s, u"Second"_s}, 150));
    const QByteArray before = fileBytes(file);
    QTemporaryDir pdfs;
    qputenv("BRELIX_PDF_DIR", QFile::encodeName(pdfs.path()));
    const QString book = host().openWorkbook(file);

    host().printWorkbook(book);
    host().printSheet(book, 2, brelix::host::PageRange{1, 1});
    host().printSheet(book, 1, std::nullopt);
    host().printWorkbook(book); // never over an earlier file
    qunsetenv("BRELIX_PDF_DIR");

    const int sheetPages = pdfPages(QDir(pdfs.path()).filePath(u"report-First.pdf"_s));
    EXPECT_GT(sheetPages, 1);
    EXPECT_EQ(pdfPages(QDir(pdfs.path()).filePath(u"report.pdf"_s)), 2 * sheetPages);
    EXPECT_EQ(pdfPages(QDir(pdfs.path()).filePath(u"report-Second.pdf"_s)), 1);
    EXPECT_EQ(pdfPages(QDir(pdfs.path()).filePath(u"report (2).pdf"_s)), 2 * sheetPages);
    host().closeWorkbook(book);
    EXPECT_EQ(fileBytes(file), before);
}

TEST_F(LibreOfficeHostTest, APrintJobThatGoesNowhereIsAFailure)
{
    const QString book = host().openWorkbook(write(u"p.ods"_s, longSheets({u"S"_s}, 3)));
    qputenv("BRELIX_PDF_DIR", QFile::encodeName(path(u"no such folder"_s)));
    EXPECT_EQ(thrownKind([&] { host().printWorkbook(book); }), HostError::Kind::PrintFailed);
    qunsetenv("BRELIX_PDF_DIR");
    // This machine has no printer: the default printer takes no job.
    if (!QFile::exists(u"/run/cups/cups.sock"_s)) {
        EXPECT_EQ(thrownKind([&] { host().printSheet(book, 1, std::nullopt); }),
                  HostError::Kind::PrintFailed);
    }
}

TEST_F(LibreOfficeHostTest, BadFilesFailToOpenClearlyAndTheHostGoesOn)
{
    const QString good = write(u"good.xlsx"_s, WorkbookContent::withSheets({u"S"_s}));
    const QByteArray real = fileBytes(write(u"real.xls"_s, longSheets({u"S"_s}, 40)));
    auto make = [&](const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path(name);
    };
    const QList<QString> refused = {
        path(u"missing.xls"_s),
        m_dir.path(),
        make(u"text.xls"_s, "just some words, not a workbook\n"),
        make(u"noise.xlsx"_s, QByteArray(4096, '\x5a')),
        make(u"truncated.xls"_s, real.left(real.size() / 3)),
        write(u"locked.ods"_s, WorkbookContent::withSheets({u"S"_s}), u"secret"_s),
    };
    for (const QString& file : refused) {
        SCOPED_TRACE(file.toStdString());
        QElapsedTimer clock;
        clock.start();
        try {
            const QString book = host().openWorkbook(file);
            // The office may read what is left of a damaged file; then it is a workbook.
            EXPECT_GE(host().sheetCount(book), 1);
            host().closeWorkbook(book);
        } catch (const HostError& e) {
            EXPECT_EQ(e.kind(), HostError::Kind::OpenFailed);
            EXPECT_TRUE(e.description().contains(file)) << e.description().toStdString();
        }
        EXPECT_LT(clock.elapsed(), 30000);
    }
    EXPECT_EQ(host().workbookNames(), QStringList());
    EXPECT_EQ(host().sheetCount(host().openWorkbook(good)), 1);
}

TEST_F(LibreOfficeHostTest, AnEncryptedOrMissingWorkbookNeverOpens)
{
    const QString locked =
        write(u"locked.ods"_s, WorkbookContent::withSheets({u"S"_s}), u"secret"_s);
    EXPECT_EQ(thrownKind([&] { host().openWorkbook(locked); }), HostError::Kind::OpenFailed);
    EXPECT_EQ(thrownKind([&] { host().openWorkbook(path(u"none.xls"_s)); }),
              HostError::Kind::OpenFailed);
}

TEST_F(LibreOfficeHostTest, PathsWithSignsBlanksAndJapaneseOpenAndSaveInPlace)
{
    const QString folder = path(u"a #1 %41 b 日本語"_s);
    QDir().mkpath(folder);
    const QString file = QDir(folder).filePath(u"売上 #2 %20.xls"_s);
    s_writer->write(file, WorkbookContent::withSheets({u"S"_s}));

    const QString book = host().openWorkbook(file);
    EXPECT_EQ(book, u"売上 #2 %20.xls"_s);
    host().setCellValue(book, 1, 1, 1, u"saved here"_s);
    host().saveWorkbook(book);
    host().closeWorkbook(book);

    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({u"売上 #2 %20.xls"_s}));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
    const QString again = host().openWorkbook(file);
    EXPECT_EQ(host().cellText(again, 1, 1, 1, CellTextKind::Value), u"saved here"_s);
}

TEST_F(LibreOfficeHostTest, CsvFilesReadAsUtf8WithOrWithoutMarkAndShiftJisOtherwise)
{
    auto make = [&](const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path(name);
    };
    const QByteArray rows = u"名前,値,コード\r\n\"東京, 都\",1.5,0012\r\n"_s.toUtf8();
    for (const QString& file :
         {make(u"plain.csv"_s, rows), make(u"marked.csv"_s, "\xEF\xBB\xBF" + rows)}) {
        SCOPED_TRACE(file.toStdString());
        const QString book = host().openWorkbook(file);
        EXPECT_EQ(host().rangeTexts(book, 1, {{1, 1}, {2, 3}}, CellTextKind::Value),
                  QList<QStringList>(
                      {{u"名前"_s, u"値"_s, u"コード"_s}, {u"東京, 都"_s, u"1.5"_s, u"12"_s}}));
        host().closeWorkbook(book);
    }
    QFile::copy(kCorpus + u"/xlsxwriter/unicode_shift_jis.txt"_s, path(u"sjis.csv"_s));
    const QString book = host().openWorkbook(path(u"sjis.csv"_s));
    EXPECT_EQ(host().cellText(book, 1, 12, 1, CellTextKind::Value), u"型番"_s);
}

TEST_F(LibreOfficeHostTest, RealWorkbooksOfTheCorpusRead)
{
    struct Expect {
        QString file;
        int sheet;
        int row;
        int column;
        QString text;
    };
    const QList<Expect> cases = {
        {u"parseexcel/Test97J.xls"_s, 2, 0, 0, u"漢字名"_s},
        {u"parseexcel/TestEncoding.xls"_s, 1, 3, 2, u"①"_s},
        {u"parseexcel/Test95J.xls"_s, 1, 0, 0, QString()},
        {u"readxl/biff5-label-records.xls"_s, 1, 0, 0, QString()},
        {u"readxl/types.xls"_s, 1, 2, 2, u"TRUE"_s},
        {u"readxl/types.xlsx"_s, 1, 2, 2, u"TRUE"_s},
        {u"xlsxwriter/formula_results01.xlsx"_s, 1, 6, 1, u"#N/A"_s},
        {u"readxl/datasets.xls"_s, 1, 0, 0, QString()},

        {u"daff/quote_me.csv"_s, 1, 0, 0, QString()},
    };
    for (const Expect& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const QString book = host().openWorkbook(kCorpus + u'/' + c.file);
        int cells = 0;
        for (int s = 1; s <= host().sheetCount(book); ++s) {
            if (host().isSheetProtected(book, s))
                continue;
            const auto last = host().lastUsedCell(book, s);
            for (const QStringList& row :
                 host().rangeTexts(book, s, {{1, 1}, last}, CellTextKind::Value))
                for (const QString& text : row)
                    cells += text.isEmpty() ? 0 : 1;
        }
        EXPECT_GT(cells, 0);
        if (c.row == 0 && !c.text.isEmpty()) {
            EXPECT_EQ(host().sheetName(book, c.sheet), c.text);
        }
        if (c.row > 0) {
            EXPECT_EQ(host().cellText(book, c.sheet, c.row, c.column, CellTextKind::Value), c.text);
        }
        host().closeWorkbook(book);
    }
}

TEST_F(LibreOfficeHostTest, CorpusProtectionAndHiddenSheets)
{
    const QString protectedBook = host().openWorkbook(kCorpus + u"/xlsxwriter/protect02.xlsx"_s);
    EXPECT_EQ(thrownKind([&] { host().lastUsedCell(protectedBook, 1); }),
              HostError::Kind::SheetProtected);
    EXPECT_EQ(thrownKind([&] { host().unprotectSheet(protectedBook, 1, u"wrong"_s); }),
              HostError::Kind::WrongPassword);
    host().unprotectSheet(protectedBook, 1, QString()); // protected without a password
    EXPECT_FALSE(host().isSheetProtected(protectedBook, 1));

    const QString hidden = host().openWorkbook(kCorpus + u"/xlsxwriter/hide01.xlsx"_s);
    EXPECT_TRUE(host().isSheetVisible(hidden, 1));
    EXPECT_FALSE(host().isSheetVisible(hidden, 2));

    // Protected with the default write-protection key, which the office knows.
    const QString sealed = host().openWorkbook(kCorpus + u"/parseexcel/pers-protected.xls"_s);
    EXPECT_EQ(host().sheetCount(sealed), 3);

    // An OpenDocument file of one empty sheet.
    const QString empty = host().openWorkbook(kCorpus + u"/xlrd/sample.ods"_s);
    EXPECT_EQ(host().lastUsedCell(empty, 1), (brelix::host::CellPosition{1, 1}));
    EXPECT_EQ(host().cellText(empty, 1, 1, 1, CellTextKind::Value), QString());
}

TEST_F(LibreOfficeHostTest, TwoInstancesRunSideBySideOnWorkbooksOfTheSameName)
{
    QDir().mkpath(path(u"one"_s));
    QDir().mkpath(path(u"two"_s));
    WorkbookContent a = WorkbookContent::withSheets({u"S"_s});
    a.sheets[0].setCell(1, 1, CellContent::ofText(u"one"_s));
    WorkbookContent b = a;
    b.sheets[0].setCell(1, 1, CellContent::ofText(u"two"_s));
    const QString fileA = write(u"one/same.xls"_s, a);
    const QString fileB = write(u"two/same.xls"_s, b);

    LibreOfficeHost second(headlessOffice());
    EXPECT_NE(second.processId(), host().processId());
    const QString inFirst = host().openWorkbook(fileA);
    const QString inSecond = second.openWorkbook(fileB);
    EXPECT_EQ(host().cellText(inFirst, 1, 1, 1, CellTextKind::Value), u"one"_s);
    EXPECT_EQ(second.cellText(inSecond, 1, 1, 1, CellTextKind::Value), u"two"_s);
    second.quit();
    EXPECT_FALSE(processGroupAlive(second.processId()));
    EXPECT_EQ(host().cellText(inFirst, 1, 1, 1, CellTextKind::Value), u"one"_s);
}

TEST_F(LibreOfficeHostTest, QuitAndHandOverOfAHeadlessOfficeLeaveNoProcess)
{
    const QString file = write(u"q.xls"_s, WorkbookContent::withSheets({u"S"_s}));
    for (bool handOver : {false, true}) {
        LibreOfficeHost office(headlessOffice());
        const QString book = office.openWorkbook(file);
        office.setCellValue(book, 1, 1, 1, 5); // modified: no question may stop the end
        const pid_t pid = office.processId();
        handOver ? office.handOver() : office.quit();
        EXPECT_FALSE(processGroupAlive(pid)) << "hand over: " << handOver;
    }
}

TEST_F(LibreOfficeHostTest, AKilledOfficeFailsTheNextCallAtOnce)
{
    LibreOfficeHost office(headlessOffice());
    const QString book =
        office.openWorkbook(write(u"k.xls"_s, WorkbookContent::withSheets({u"S"_s})));
    ::kill(-office.processId(), SIGKILL);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(thrownKind([&] { office.sheetCount(book); }), HostError::Kind::Unavailable);
    EXPECT_EQ(thrownKind([&] { office.openWorkbook(path(u"k.xls"_s)); }),
              HostError::Kind::Unavailable);
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST_F(LibreOfficeHostTest, AnOfficeThatStopsAnsweringFailsAfterTheBusyTimeout)
{
    LibreOfficeHost office(headlessOffice());
    const QString book =
        office.openWorkbook(write(u"h.xls"_s, WorkbookContent::withSheets({u"S"_s})));
    office.setBusyTimeout(std::chrono::milliseconds(1500));
    const pid_t pid = office.processId();
    ::kill(-pid, SIGSTOP);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(thrownKind([&] { office.sheetCount(book); }), HostError::Kind::Unavailable);
    EXPECT_GE(clock.elapsed(), 1400);
    EXPECT_LT(clock.elapsed(), 30000);
    EXPECT_FALSE(processGroupAlive(pid));
}

TEST_F(LibreOfficeHostTest, AnOfficeLeftBehindByADeadProgramIsSwept)
{
    brelix::libreoffice::OfficeProcess stale(true);
    // Its record now names an owner that has ended, as after a crash.
    QProcess gone;
    gone.start(u"true"_s, {});
    gone.waitForFinished();
    const qint64 deadOwner = gone.processId() > 0 ? gone.processId() : 999999;
    const QString record = QDir(brelix::libreoffice::OfficeProcess::runtimeFolder())
                               .filePath(stale.pipeName() + u"/instance"_s);
    QFile f(record);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(u"%1 %2 owned\n"_s.arg(deadOwner).arg(stale.pid()).toLatin1());
    f.close();
    ASSERT_TRUE(stale.isRunning());

    brelix::libreoffice::OfficeProcess::sweepStale();

    EXPECT_TRUE(stale.waitForExit(std::chrono::seconds(5)));
    EXPECT_FALSE(QFileInfo::exists(record));
    EXPECT_TRUE(host().workbookNames().isEmpty()); // ours is untouched
}

} // namespace
} // namespace brelix::contract
