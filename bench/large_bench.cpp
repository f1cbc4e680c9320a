// Workbooks past the old budgets, end to end through brelix-cli with --no-limit, beside
// Gnumeric's ssdiff and ssgrep on the same files in the same run:
//   - a 100,000-cell pair (1,000 rows x 100 columns, 1 % of the cells changed), .xls and .xlsx;
//   - a 1,000,000-cell .xls pair (10,000 rows x 100 columns, 1 % changed);
//   - a search through ten 100,000-cell .xls workbooks.
// The sheets of a pair share one name, so that ssdiff compares their cells as brelix-cli does.
// Prints the times, their ratios and the peak memory (resident) of brelix-cli itself and of
// the office it started. Then runs the comparison and the search as the window runs them (the
// run on this thread, each office call on one of its own, on a ready office) and prints the
// longest time between two event pumps: the longest the window's screen would stand still.
// Prints; asserts nothing.
//
//   large_bench [repetitions] [--small]   (default 1; --small leaves out the 1,000,000 cells)

#include "BenchSupport.h"
#include "core/compare/DiffRun.h"
#include "core/files/ProgramFolder.h"
#include "core/run/ResponsiveHostFactory.h"
#include "core/search/SearchRun.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

using namespace brelix;
using bench::median;

constexpr int kColumns = 100;

// A CSV of rows x kColumns cells, numbers and texts in turn; `changed` holds every n-th cell
// (by a fixed random choice) as "changed", and `needle` puts "NEEDLE" into a few cells.
void writeCsv(const QString& path, int rows, bool changed, int needleSeed = -1)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QTextStream out(&file);
    std::mt19937 random(7);
    std::mt19937 needles(static_cast<unsigned>(std::max(0, needleSeed)));
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= kColumns; ++c) {
            if (c > 1)
                out << ',';
            const bool isChanged = random() % 100 == 0;
            if (changed && isChanged)
                out << "changed";
            else if (needleSeed >= 0 && needles() % 5000 == 0)
                out << "a NEEDLE here";
            else if (c % 2)
                out << r * 1000 + c;
            else
                out << 'r' << r << 'c' << c;
        }
        out << '\n';
    }
}

// `first` and `second` (names without their ending) in `folder`, as .xls and, when `withXlsx`,
// .xlsx, from CSV files of one name in folders of their own: the sheets of the two have the same
// name, so that ssdiff compares their cells. Sheets of different names it reports as removed
// and added, and compares nothing.
void writePair(const QDir& folder, const QString& first, const QString& second, int rows,
               bool withXlsx)
{
    for (const QString& name : {first, second}) {
        folder.mkpath(name);
        const QString csv = folder.filePath(name + QStringLiteral("/data.csv"));
        writeCsv(csv, rows, name == second);
        bench::convert(csv, folder.filePath(name + QStringLiteral(".xls")));
        if (withXlsx)
            bench::convert(csv, folder.filePath(name + QStringLiteral(".xlsx")));
    }
}

// Peak resident memory in MB of a process, from /proc; 0 once it is gone.
double peakMb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// Every process below `root`.
QList<qint64> descendants(qint64 root)
{
    QHash<qint64, qint64> parentOf;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            parentOf.insert(pid, fields[1].toLongLong());
    }
    QList<qint64> found;
    for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it) {
        for (qint64 p = it.value(); p > 1; p = parentOf.value(p, 0)) {
            if (p == root) {
                found.append(it.key());
                break;
            }
        }
    }
    return found;
}

struct Measured {
    double ms = 0;
    double ownPeakMb = 0;
    double officePeakMb = 0;
    int exitCode = -1;
    qsizetype lines = 0;
};

enum class Watch { TimeOnly, Memory };

// Runs a program; with Watch::Memory it watches its own peak memory and that of everything it
// starts. Watching scans every process, so that run's time is not a figure.
Measured measure(const QString& program, const QStringList& arguments, const QString& home,
                 Watch watch = Watch::TimeOnly)
{
    Measured m;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("BRELIX_HOME"), home);
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());
    m.ms = bench::timeMs([&] {
        process.start(program, arguments);
        process.waitForStarted();
        const qint64 pid = process.processId();
        if (watch == Watch::TimeOnly) {
            process.waitForFinished(-1);
            return;
        }
        while (!process.waitForFinished(20)) {
            m.ownPeakMb = std::max(m.ownPeakMb, peakMb(pid));
            for (qint64 child : descendants(pid))
                m.officePeakMb = std::max(m.officePeakMb, peakMb(child));
        }
    });
    m.exitCode = process.exitCode();
    m.lines = process.readAllStandardOutput().count('\n');
    return m;
}

// The median time of the timed runs, the largest peaks of the watched ones, and the worst exit.
Measured summary(const std::vector<Measured>& timed, const std::vector<Measured>& watched = {})
{
    std::vector<double> times;
    for (const Measured& m : timed)
        times.push_back(m.ms);
    Measured result = timed.front();
    result.ms = median(times);
    for (const Measured& m : timed)
        result.exitCode = std::max(result.exitCode, m.exitCode);
    for (const Measured& m : watched) {
        result.ownPeakMb = std::max(result.ownPeakMb, m.ownPeakMb);
        result.officePeakMb = std::max(result.officePeakMb, m.officePeakMb);
    }
    return result;
}

void report(const char* what, const Measured& brelix, const Measured& peer, const char* peerName)
{
    std::printf("%s\n", what);
    std::printf("  brelix-cli --no-limit: %8.0f ms, exit %d, %lld lines; own peak %.0f MB, "
                "office peak %.0f MB\n",
                brelix.ms, brelix.exitCode, static_cast<long long>(brelix.lines), brelix.ownPeakMb,
                brelix.officePeakMb);
    std::printf("  %-21s %8.0f ms, exit %d, %lld lines; peak %.0f MB\n", peerName, peer.ms,
                peer.exitCode, static_cast<long long>(peer.lines), peer.ownPeakMb);
    std::printf("  ratio brelix / %s: %.2f\n", peerName, brelix.ms / peer.ms);
}

// Times the gaps between the run's event pumps, and pumps.
class PumpTimingUi : public bench::SilentRunUi {
public:
    void processEvents() override
    {
        const auto now = std::chrono::steady_clock::now();
        if (m_pumps++ > 0)
            m_longest = std::max(m_longest, now - m_last);
        m_last = now;
        QCoreApplication::processEvents();
    }
    double longestMs() const
    {
        return std::chrono::duration<double, std::milli>(m_longest).count();
    }
    qint64 pumps() const { return m_pumps; }

private:
    std::chrono::steady_clock::time_point m_last;
    std::chrono::steady_clock::duration m_longest{};
    qint64 m_pumps = 0;
};

// A job as the window runs it, on an office kept ready; the longest gap between event pumps.
template <typename Job> void reportPumps(const char* what, Job job)
{
    libreoffice::LibreOfficeHostFactory office(bench::headlessOffice());
    run::ReadyOfficeFactory ready(office);
    ready.setEnabled(true);
    ready.waitUntilReady(std::chrono::minutes(2));
    ready.holdBack(true);
    PumpTimingUi ui;
    run::ResponsiveHostFactory responsive(ready, ui);
    QString password;
    const double ms = bench::timeMs([&] { job(responsive, ui, password); });
    std::printf("  %-40s %6.0f ms, %7lld pumps, longest between two %5.1f ms\n", what, ms,
                static_cast<long long>(ui.pumps()), ui.longestMs());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = bench::countArgument(argc, argv, 1, 1);
    const bool small = app.arguments().contains(QStringLiteral("--small"));
    const QString cli = bench::brelixCli();
    const QString ssdiff = QStandardPaths::findExecutable(QStringLiteral("ssdiff"));
    const QString ssgrep = QStandardPaths::findExecutable(QStringLiteral("ssgrep"));
    if (ssdiff.isEmpty() || ssgrep.isEmpty() || !bench::hasGnumericTool("ssconvert")) {
        std::fprintf(stderr, "large_bench: needs ssconvert, ssdiff and ssgrep (Debian package "
                             "gnumeric)\n");
        return 1;
    }
    QTemporaryDir dir;
    const QDir files(dir.path());
    const QString home = files.filePath(QStringLiteral("home"));
    files.mkpath(QStringLiteral("home"));
    QFile::copy(files::programFile(QStringLiteral("Brelix_Format.xls")),
                QDir(home).filePath(QStringLiteral("Brelix_Format.xls")));

    std::printf("generating the workbooks...\n");
    std::fflush(stdout);
    writePair(files, QStringLiteral("first"), QStringLiteral("second"), 1000, true);
    if (!small)
        writePair(files, QStringLiteral("big1"), QStringLiteral("big2"), 10000, false);
    QStringList books;
    for (int i = 0; i < 10; ++i) {
        const QString csv = files.filePath(QStringLiteral("book%1.csv").arg(i));
        writeCsv(csv, 1000, false, i);
        books.append(csv.chopped(3) + QStringLiteral("xls"));
        bench::convert(csv, books.last());
    }

    // What brelix-cli costs before and after any comparison: its office's start, the loads and
    // the end, which an office kept ready would save. It varies much from run to run.
    writePair(files, QStringLiteral("one1"), QStringLiteral("one2"), 1, false);
    std::vector<Measured> floors;
    for (int i = 0; i < std::max(3, repetitions); ++i)
        floors.push_back(
            measure(cli,
                    {QStringLiteral("diff"), files.filePath(QStringLiteral("one1.xls")),
                     files.filePath(QStringLiteral("one2.xls"))},
                    home));
    const Measured floor = summary(floors);
    std::printf("(repetitions %d; figures are medians, peaks the largest seen)\n", repetitions);
    std::printf("brelix-cli diff of a one-row pair (the floor: its office's start and end): "
                "%.0f ms\n",
                floor.ms);
    // Each job by brelix-cli starting an office of its own, then taking the offices that
    // `brelix-cli office start` keeps ready (a comparison takes both, a search one), each run
    // beside one of the peer's on a quiet machine (the peer after a pause, or once the ready
    // offices have been replaced), so that both meet the machine alike. The peer's figure is
    // the median of all its runs.
    const auto beside = [&](const char* what, const QStringList& arguments, const QString& peer,
                            const QStringList& peerArguments, const char* peerName) {
        std::vector<Measured> own, ready, peers;
        for (int i = 0; i < repetitions; ++i) {
            own.push_back(measure(cli, arguments, home));
            QThread::msleep(300); // the ended office's folder goes meanwhile
            peers.push_back(measure(peer, peerArguments, home));
        }
        bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("start")});
        for (int i = 0; i < repetitions; ++i) {
            bench::waitForReadyOffice(2);
            peers.push_back(measure(peer, peerArguments, home));
            ready.push_back(measure(cli, arguments, home));
        }
        bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("stop")});
        const Measured brelix = summary(own, {measure(cli, arguments, home, Watch::Memory)});
        const Measured peerFigure =
            summary(peers, {measure(peer, peerArguments, home, Watch::Memory)});
        report(what, brelix, peerFigure, peerName);
        const Measured readyFigure = summary(ready);
        std::printf("  with a ready office: %8.0f ms, exit %d, ratio / %s %.2f\n", readyFigure.ms,
                    readyFigure.exitCode, peerName, readyFigure.ms / peerFigure.ms);
    };
    const auto diffPair = [&](const char* what, const QString& first, const QString& second) {
        const QStringList pair{files.filePath(first), files.filePath(second)};
        beside(what, QStringList{QStringLiteral("diff"), QStringLiteral("--no-limit")} + pair,
               ssdiff, pair, "ssdiff");
    };
    // The ready office is this program folder's.
    qputenv("BRELIX_HOME", home.toLocal8Bit());
    diffPair("100,000-cell .xls pair, 1 % changed", QStringLiteral("first.xls"),
             QStringLiteral("second.xls"));
    diffPair("100,000-cell .xlsx pair, 1 % changed", QStringLiteral("first.xlsx"),
             QStringLiteral("second.xlsx"));
    if (!small)
        diffPair("1,000,000-cell .xls pair, 1 % changed", QStringLiteral("big1.xls"),
                 QStringLiteral("big2.xls"));
    beside("ten 100,000-cell .xls workbooks searched",
           QStringList{QStringLiteral("grep"), QStringLiteral("--no-limit"),
                       QStringLiteral("needle")} +
               books,
           ssgrep, QStringList{QStringLiteral("-i"), QStringLiteral("needle")} + books,
           "ssgrep -i");

    std::printf("as the window runs them, without the limit, on a ready office:\n");
    const auto compareAsWindow = [&](const QString& first, const QString& second) {
        return [&, first, second](host::SpreadsheetHostFactory& factory, run::RunUi& ui,
                                  QString& password) {
            compare::DiffSettings settings;
            settings.firstPath = files.filePath(first);
            settings.secondPath = files.filePath(second);
            settings.outputPath = QDir(home).filePath(QStringLiteral("Brelix.xls"));
            settings.templatePath = QDir(home).filePath(QStringLiteral("Brelix_Format.xls"));
            settings.noSizeLimit = true;
            compare::DiffRun(factory, ui, password).start(settings);
        };
    };
    reportPumps("comparison, 100,000-cell .xls pair",
                compareAsWindow(QStringLiteral("first.xls"), QStringLiteral("second.xls")));
    if (!small)
        reportPumps("comparison, 1,000,000-cell .xls pair",
                    compareAsWindow(QStringLiteral("big1.xls"), QStringLiteral("big2.xls")));
    reportPumps("search, ten 100,000-cell workbooks", [&](host::SpreadsheetHostFactory& factory,
                                                          run::RunUi& ui, QString& password) {
        search::SearchSettings settings;
        settings.searchText = QStringLiteral("needle");
        for (const QString& book : books)
            settings.targets.append({QFileInfo(book).fileName(), book});
        settings.templatePath = QDir(home).filePath(QStringLiteral("Brelix_Format.xls"));
        settings.outputPath = QDir(home).filePath(QStringLiteral("Brelix.xls"));
        settings.hitFilePath = QDir(home).filePath(QStringLiteral("Brelix.grp"));
        settings.noSizeLimit = true;
        search::SearchRun(factory, ui, password).run(settings);
    });
    return 0;
}
