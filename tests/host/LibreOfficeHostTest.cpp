#include "HostContractTest.h"
#include "InspectableLibreOfficeHost.h"
#include "LibreOfficeWorkbookWriter.h"
#include "OfficeFixtures.h"
#include "SavedEnvironment.h"
#include "TestData.h"
#include "host/libreoffice/OfficeProcess.h"
#include "host/libreoffice/PrivateFolder.h"
#include "host/libreoffice/PrivateProfile.h"
#include "host/libreoffice/ProcessTable.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
using brelix::host::CellContent;
using brelix::host::CellTextKind;
using brelix::host::HostError;
using brelix::support::WorkbookContent;

namespace brelix::contract {
namespace {

class LibreOfficeHostUnderTest : public HostUnderTest {
public:
    void writeFile(const QString& path, const support::WorkbookContent& content,
                   const QString& password) override
    {
        m_writer.write(path, content, password);
    }

    std::unique_ptr<host::SpreadsheetHost> start() override
    {
        return std::make_unique<InspectableLibreOfficeHost>(headlessOffice());
    }

private:
    LibreOfficeWorkbookWriter m_writer;
};

const QString kCorpus = QStringLiteral(BRELIX_TEST_DATA_DIR "/corpus/");

// What only the office host does: real files, processes, printing. The cases share the
// office of the contract cases and the one that writes their files.
class LibreOfficeHostTest : public HostContractTest {
protected:
    static InspectableLibreOfficeHost& office()
    {
        return dynamic_cast<InspectableLibreOfficeHost&>(sharedHost());
    }

    QString writeBytes(const QString& fileName, const QByteArray& bytes)
    {
        QFile file(pathOf(fileName));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    // Rows of text in column A of each of the given sheets.
    static WorkbookContent textRows(const QStringList& names, int rows)
    {
        WorkbookContent content = WorkbookContent::withSheets(names);
        for (auto& sheet : content.sheets)
            for (int r = 1; r <= rows; ++r)
                sheet.setCell(r, 1, CellContent::ofText(u"%1 row %2"_s.arg(sheet.name).arg(r)));
        return content;
    }
};

TEST_F(LibreOfficeHostTest, APrintJobThatGoesNowhereIsAFailure)
{
    const QString book = office().openWorkbook(writeFile(u"p.ods"_s, textRows({u"S"_s}, 3)));
    qputenv("BRELIX_PDF_DIR", QFile::encodeName(pathOf(u"no such folder"_s)));
    EXPECT_EQ(thrownKind([&] { office().printWorkbook(book); }), HostError::Kind::PrintFailed);
    qunsetenv("BRELIX_PDF_DIR");
    // This machine has no printer: the default printer takes no job.
    if (!QFile::exists(u"/run/cups/cups.sock"_s)) {
        EXPECT_EQ(thrownKind([&] { office().printSheet(book, 1, std::nullopt); }),
                  HostError::Kind::PrintFailed);
    }
}

// An office killed while it prints a workbook to a PDF file leaves no half-written file.
TEST_F(LibreOfficeHostTest, AnOfficeKilledWhilePrintingLeavesNoPartialPdf)
{
    InspectableLibreOfficeHost instance(headlessOffice());
    const QString book = instance.openWorkbook(writeFile(u"big.xls"_s, textRows({u"S"_s}, 2000)));
    const QString pdfs = pathOf(u"pdf"_s);
    ASSERT_TRUE(QDir().mkpath(pdfs));
    const support::SavedEnvironment environment{"BRELIX_PDF_DIR"};
    qputenv("BRELIX_PDF_DIR", QFile::encodeName(pdfs));
    std::atomic<bool> ended = false;
    std::thread killer([&, pid = instance.processId()] {
        while (!ended && QDir(pdfs).isEmpty(QDir::Files))
            QThread::msleep(2);
        if (!ended)
            ::kill(-pid, SIGKILL);
    });
    const auto failure = thrownKind([&] { instance.printWorkbook(book); });
    ended = true;
    killer.join();
    EXPECT_TRUE(failure.has_value()) << "printed before the office was killed";
    EXPECT_TRUE(QDir(pdfs).isEmpty(QDir::Files));
}

// Files that are no workbook of their kind, or hold what the office would not read whole: each
// fails to open with its reason, never as what the office makes of what is left.
TEST_F(LibreOfficeHostTest, DamagedFilesFailToOpenClearlyAndTheHostGoesOn)
{
    const QByteArray real = bytesOf(writeFile(u"real.xls"_s, textRows({u"S"_s}, 40)));
    QByteArray noise(20000, '\0');
    QRandomGenerator(12).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    // Each file, its bytes and the reason given.
    const QList<std::tuple<QString, QByteArray, QString>> damaged = {
        {u"text.xls"_s, "just some words, not a workbook\n", u"not those of an .xls"_s},
        {u"random.xls"_s, noise, u"not those of an .xls"_s},
        {u"empty.xls"_s, {}, u"not those of an .xls"_s},
        {u"empty.xlsx"_s, {}, u"not those of an .xlsx"_s},
        {u"noise.xlsx"_s, QByteArray(4096, '\x5a'), u"not those of an .xlsx"_s},
        {u"empty.ods"_s, {}, u"not those of an .ods"_s},
        {u"truncated.xls"_s, real.left(real.size() / 3), u"cut short"_s},
        {u"quoted.xlsx"_s, bytesOf(QStringLiteral(BRELIX_TEST_DATA_DIR "/made/quoted-sheet.xlsx")),
         u"read only 1 of the 2 worksheets"_s},
        {u"long.csv"_s, "a," + QByteArray(70000, 'x') + "\r\n", u"longer than 65535 characters"_s},
    };
    for (const auto& [name, bytes, reason] : damaged)
        for (const bool unseen : {false, true}) {
            const QString file = writeBytes(name, bytes);
            SCOPED_TRACE(file.toStdString() + (unseen ? " unseen" : ""));
            QElapsedTimer clock;
            clock.start();
            try {
                unseen ? office().openWorkbookUnseen(file) : office().openWorkbook(file);
                ADD_FAILURE() << "opened";
            } catch (const HostError& e) {
                EXPECT_EQ(e.kind(), HostError::Kind::OpenFailed);
                EXPECT_TRUE(e.description().contains(file) && e.description().contains(reason))
                    << e.description().toStdString();
            }
            EXPECT_LT(clock.elapsed(), 30000);
        }
    EXPECT_EQ(thrownKind([&] { office().openWorkbook(pathOf(QString())); }),
              HostError::Kind::OpenFailed);
    EXPECT_TRUE(office().workbookNames().isEmpty());
    EXPECT_EQ(office().sheetCount(office().openWorkbook(pathOf(u"real.xls"_s))), 1);
}

TEST_F(LibreOfficeHostTest, PathsWithSignsBlanksAndJapaneseOpenAndSaveInPlace)
{
    const QString file =
        writeFile(u"a #1 %41 b 日本語/売上 #2 %20.xls"_s, WorkbookContent::withSheets({u"S"_s}));
    const QString book = office().openWorkbook(file);
    EXPECT_EQ(book, u"売上 #2 %20.xls"_s);
    office().setCellValue(book, 1, 1, 1, u"saved here"_s);
    office().saveWorkbook(book);
    office().closeWorkbook(book);

    EXPECT_EQ(QFileInfo(file).dir().entryList(QDir::Files), QStringList({book}));
    EXPECT_EQ(QDir(pathOf(QString())).entryList(QDir::Files), QStringList());
    EXPECT_EQ(probe().cellText(office().openWorkbook(file), 1, 1, 1, CellTextKind::Value),
              u"saved here"_s);
}

TEST_F(LibreOfficeHostTest, CsvFilesReadAsUtf8WithOrWithoutMarkAndShiftJisOtherwise)
{
    const QByteArray rows = u"名前,値,コード\r\n\"東京, 都\",1.5,0012\r\n"_s.toUtf8();
    for (const QString& file :
         {writeBytes(u"plain.csv"_s, rows), writeBytes(u"marked.csv"_s, "\xEF\xBB\xBF" + rows)}) {
        SCOPED_TRACE(file.toStdString());
        const QString book = office().openWorkbook(file);
        EXPECT_EQ(office().rangeTexts(book, 1, {{1, 1}, {2, 3}}, CellTextKind::Value),
                  QList<QStringList>(
                      {{u"名前"_s, u"値"_s, u"コード"_s}, {u"東京, 都"_s, u"1.5"_s, u"12"_s}}));
        office().closeWorkbook(book);
    }
    const QString sjis =
        writeBytes(u"sjis.csv"_s, bytesOf(kCorpus + u"xlsxwriter/unicode_shift_jis.txt"_s));
    EXPECT_EQ(probe().cellText(office().openWorkbook(sjis), 1, 12, 1, CellTextKind::Value),
              u"型番"_s);
}

TEST_F(LibreOfficeHostTest, RealWorkbooksRead)
{
    for (const QStringList& c : support::caseRows(u"real-workbooks.txt"_s)) {
        const QString& file = c[0];
        const int sheet = c.value(1).toInt(), row = c.value(2).toInt(), column = c.value(3).toInt();
        const QString text = c.value(4);
        SCOPED_TRACE(file.toStdString());
        // As a search opens them: unseen, where showing a sheet does nothing.
        const QString book = office().openWorkbookUnseen(kCorpus + file);
        int cells = 0;
        for (int s = 1; s <= office().sheetCount(book); ++s) {
            office().activateSheet(book, s);
            if (office().isSheetProtected(book, s)) // without a password
                office().unprotectSheet(book, s, QString());
            const host::CellRange used{{1, 1}, office().lastUsedCell(book, s)};
            for (const QStringList& texts : office().rangeTexts(book, s, used, CellTextKind::Value))
                cells += static_cast<int>(texts.size() - texts.count(QString()));
        }
        EXPECT_GT(cells, 0);
        if (row == 0 && !text.isEmpty()) {
            EXPECT_EQ(office().sheetName(book, sheet), text);
        } else if (row > 0) {
            EXPECT_EQ(probe().cellText(book, sheet, row, column, CellTextKind::Value), text);
        }
        office().closeWorkbook(book);
    }
}

// Each further instance reads a workbook named like one of the shared office's, then ends
// by quitting or by handing over; neither may leave a process behind. One is warmed up first,
// as an office kept ready is: that leaves no workbook and no file of its own.
TEST_F(LibreOfficeHostTest, FurtherInstancesRunSideBySideAndLeaveNoProcess)
{
    WorkbookContent content = WorkbookContent::withSheets({u"S"_s});
    content.sheets[0].setCell(1, 1, CellContent::ofText(u"first"_s));
    const QString inFirst = office().openWorkbook(writeFile(u"first/same.xls"_s, content));
    for (bool handOver : {false, true}) {
        SCOPED_TRACE(handOver ? "hand over" : "quit");
        content.sheets[0].setCell(1, 1, CellContent::ofText(u"second"_s));
        QStringList sockets;
        {
            InspectableLibreOfficeHost second(headlessOffice());
            EXPECT_NE(second.processId(), office().processId());
            if (!handOver) {
                second.warmUp();
                EXPECT_TRUE(second.workbookNames().isEmpty());
                EXPECT_TRUE(QDir(second.process().scratchFolder())
                                .entryList({u"brelix-*"_s}, QDir::Files)
                                .isEmpty());
            }
            const QString inSecond = second.openWorkbook(writeFile(u"second/same.xls"_s, content));
            EXPECT_EQ(second.cellText(inSecond, 1, 1, 1, CellTextKind::Value), u"second"_s);
            // Modified: no question may stop the end.
            second.setCellValue(inSecond, 1, 1, 1, 5);
            const pid_t pid = second.processId();
            sockets = second.process().socketPaths();
            for (const QString& socket : sockets)
                EXPECT_TRUE(QFileInfo::exists(socket)) << socket.toStdString();
            handOver ? second.handOver() : second.quit();
            EXPECT_FALSE(processGroupAlive(pid));
        }
        // A killed office leaves its sockets in /tmp; they go with its folder, a moment later.
        const auto anyLeft = [&] {
            return std::ranges::any_of(sockets,
                                       [](const QString& s) { return QFileInfo::exists(s); });
        };
        QElapsedTimer clock;
        clock.start();
        while (anyLeft() && clock.elapsed() < 5000)
            QThread::msleep(10);
        EXPECT_FALSE(anyLeft());
    }
    EXPECT_EQ(probe().cellText(inFirst, 1, 1, 1, CellTextKind::Value), u"first"_s);
}

TEST_F(LibreOfficeHostTest, AKilledOrStoppedOfficeFailsTheNextCall)
{
    const QString file = writeFile(u"k.xls"_s, WorkbookContent::withSheets({u"S"_s}));
    // Killed: at once. Stopped: after the busy timeout, and then it is killed.
    for (const int signal : {SIGKILL, SIGSTOP}) {
        SCOPED_TRACE(signal);
        InspectableLibreOfficeHost instance(headlessOffice());
        const QString book = instance.openWorkbook(file);
        const bool stopped = signal == SIGSTOP;
        if (stopped)
            instance.setBusyTimeout(std::chrono::milliseconds(1500));
        const pid_t pid = instance.processId();
        ::kill(-pid, signal);
        QElapsedTimer clock;
        clock.start();
        // The sheet count is known from the opening; the sheet's name must be asked for.
        EXPECT_EQ(thrownKind([&] { instance.sheetName(book, 1); }), HostError::Kind::Unavailable);
        EXPECT_EQ(thrownKind([&] { instance.openWorkbook(file); }), HostError::Kind::Unavailable);
        EXPECT_LT(clock.elapsed(), stopped ? 30000 : 5000);
        if (stopped) {
            EXPECT_GE(clock.elapsed(), 1400);
            EXPECT_FALSE(processGroupAlive(pid));
        }
    }
}

// An office and its watcher work in the instance's folder: the folder this program was started
// from may be one the user cannot enter, or a disk to unmount while a handed-over office runs.
// Its pipe carries random bits, so that another user cannot guess it. A program killed while it
// prepared the profile leaves its folders in the cache; the start of an office takes them away,
// but not those of a program still preparing.
TEST_F(LibreOfficeHostTest, AnOfficeLeavesTheFolderItWasStartedFromAndEndedPreparationsFree)
{
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const QString prepared = libreoffice::PrivateProfile::preparedFolder();
    const QString abandoned = prepared + u".making-%1"_s.arg(ended);
    const QString preparing = prepared + u".making-%1"_s.arg(::getppid());
    for (const QString& folder : {abandoned, abandoned + u".work"_s, preparing})
        ASSERT_TRUE(QDir().mkpath(folder + u"/user"_s));
    const QTemporaryDir startedIn;
    const QString ours = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(startedIn.path()));
    InspectableLibreOfficeHost instance(headlessOffice());
    QDir::setCurrent(ours);
    EXPECT_FALSE(QFileInfo::exists(abandoned));
    EXPECT_FALSE(QFileInfo::exists(abandoned + u".work"_s));
    EXPECT_TRUE(QFileInfo::exists(preparing));
    QDir(preparing).removeRecursively();
    const auto workingFolder = [](pid_t pid) {
        return QFileInfo(u"/proc/%1/cwd"_s.arg(pid)).canonicalFilePath();
    };
    QList<pid_t> busy;
    for (const QString& entry : QDir(u"/proc"_s).entryList(QDir::Dirs))
        if (entry.toInt() > 0 && workingFolder(entry.toInt()) == startedIn.path())
            busy.append(entry.toInt());
    EXPECT_TRUE(busy.isEmpty()) << busy.size() << " processes";
    const QString pipe = instance.process().pipeName();
    for (const pid_t member : libreoffice::ProcessTable::liveGroupMembers(instance.processId()))
        EXPECT_EQ(workingFolder(member), libreoffice::InstanceFolder::ofPipe(pipe).path());
    const QRegularExpression named(u"^brelix-%1-[0-9]+-([0-9a-f]{16})$"_s.arg(::getpid()));
    const QRegularExpressionMatch match = named.match(pipe);
    ASSERT_TRUE(match.hasMatch()) << pipe.toStdString();
    EXPECT_NE(named.match(office().process().pipeName()).captured(1), match.captured(1));
}

// The offices' folder, under /tmp when the session has none of its own, may have been made by
// another user first: only a real folder of ours that no one else can enter is used.
TEST_F(LibreOfficeHostTest, TheOfficesFolderIsOneOfOursAlone)
{
    const support::SavedEnvironment environment{"XDG_RUNTIME_DIR"};
    const QTemporaryDir base;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(base.path()));
    const QString folder = libreoffice::PrivateFolder::officesFolder();
    const QByteArray name = QFile::encodeName(folder);
    const char* path = name.constData();
    const QString own = base.filePath(u"own"_s);
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    const struct {
        const char* found;
        std::function<bool()> make;
        bool used;
    } cases[] = {
        {"nothing", [] { return true; }, true},
        {"one of ours others may read", [&] { return ::mkdir(path, 0755) == 0; }, true},
        {"one open to all", [&] { return ::mkdir(path, 0) == 0 && ::chmod(path, 0777) == 0; },
         false},
        {"a link to one of ours", [&] { return QFile::link(own, folder); }, false},
        // Only root can give a folder away; another runs the other cases.
        {"another user's",
         [&] {
             return ::mkdir(path, 0700) == 0 &&
                    (::geteuid() != 0 || ::chown(path, 65534, 65534) == 0);
         },
         ::geteuid() != 0},
    };
    for (const auto& [found, make, used] : cases) {
        SCOPED_TRACE(found);
        QFile::remove(folder);
        QDir(folder).removeRecursively();
        ASSERT_TRUE(make());
        if (used) {
            EXPECT_NO_THROW(libreoffice::PrivateFolder::make(folder));
            struct stat info {};
            EXPECT_EQ(::stat(path, &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0700u);
            continue;
        }
        // Refused as a start that failed, which the error report shows.
        try {
            libreoffice::OfficeProcess refused(true, true);
            ADD_FAILURE() << "started";
        } catch (const HostError& e) {
            EXPECT_EQ(e.kind(), HostError::Kind::StartFailed);
            EXPECT_TRUE(e.description().contains(folder)) << e.description().toStdString();
        }
    }
    QFile::remove(folder);
}

} // namespace

std::unique_ptr<HostUnderTest> makeHostUnderTest()
{
    return std::make_unique<LibreOfficeHostUnderTest>();
}

} // namespace brelix::contract
