// Workbooks past the old budgets, end to end through brelix-cli with --no-limit, beside
// Gnumeric's ssdiff and ssgrep on the same files in the same run:
//   - a 100,000-cell pair (1,000 rows x 100 columns, 1 % of the cells changed), .xls and .xlsx;
//   - a 1,000,000-cell .xls pair (10,000 rows x 100 columns, 1 % changed);
//   - a search through ten 100,000-cell .xls workbooks.
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

// Converts the CSV next to it into `kind` ("xls" or "xlsx") with Gnumeric's converter.
bool convert(const QString& csv, const QString& kind)
{
    const QString target = csv.chopped(3) + kind;
    return QProcess::execute(
               QStringLiteral("ssconvert"),
               {QStringLiteral("--export-type=") +
                    (kind == QLatin1String("xls") ? QStringLiteral("Gnumeric_Excel:excel_biff8")
                                                  : QStringLiteral("Gnumeric_Excel:xlsx2")),
                csv, target}) == 0;
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
    if (ssdiff.isEmpty() || ssgrep.isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("ssconvert")).isEmpty()) {
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
    writeCsv(files.filePath(QStringLiteral("first.csv")), 1000, false);
    writeCsv(files.filePath(QStringLiteral("second.csv")), 1000, true);
    for (const QString& kind : {QStringLiteral("xls"), QStringLiteral("xlsx")}) {
        convert(files.filePath(QStringLiteral("first.csv")), kind);
        convert(files.filePath(QStringLiteral("second.csv")), kind);
    }
    if (!small) {
        writeCsv(files.filePath(QStringLiteral("big1.csv")), 10000, false);
        writeCsv(files.filePath(QStringLiteral("big2.csv")), 10000, true);
        convert(files.filePath(QStringLiteral("big1.csv")), QStringLiteral("xls"));
        convert(files.filePath(QStringLiteral("big2.csv")), QStringLiteral("xls"));
    }
    QStringList books;
    for (int i = 0; i < 10; ++i) {
        const QString csv = files.filePath(QStringLiteral("book%1.csv").arg(i));
        writeCsv(csv, 1000, false, i);
        convert(csv, QStringLiteral("xls"));
        books.append(csv.chopped(3) + QStringLiteral("xls"));
    }

    const auto repeated = [&](const QString& program, const QStringList& arguments) {
        std::vector<Measured> runs;
        for (int i = 0; i < repetitions; ++i)
            runs.push_back(measure(program, arguments, home));
        return summary(runs, {measure(program, arguments, home, Watch::Memory)});
    };
    // What brelix-cli costs before and after any comparison: its office's start, the loads and
    // the end, which an office kept ready would save. It varies much from run to run.
    writeCsv(files.filePath(QStringLiteral("one1.csv")), 1, false);
    writeCsv(files.filePath(QStringLiteral("one2.csv")), 1, true);
    convert(files.filePath(QStringLiteral("one1.csv")), QStringLiteral("xls"));
    convert(files.filePath(QStringLiteral("one2.csv")), QStringLiteral("xls"));
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
    // The same command taking the offices that `brelix-cli office start` keeps ready: a
    // comparison takes both, a search one.
    const auto readyRepeated = [&](const QStringList& arguments) {
        std::vector<Measured> runs;
        bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("start")});
        for (int i = 0; i < repetitions; ++i) {
            bench::waitForReadyOffice(2);
            runs.push_back(measure(cli, arguments, home));
        }
        bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("stop")});
        return summary(runs);
    };
    const auto diffPair = [&](const char* what, const QString& first, const QString& second) {
        const QStringList diff{QStringLiteral("diff"), QStringLiteral("--no-limit"),
                               files.filePath(first), files.filePath(second)};
        const Measured brelix = repeated(cli, diff);
        const Measured peer = repeated(ssdiff, {files.filePath(first), files.filePath(second)});
        report(what, brelix, peer, "ssdiff");
        const Measured ready = readyRepeated(diff);
        std::printf("  with a ready office: %8.0f ms, ratio / ssdiff %.2f\n", ready.ms,
                    ready.ms / peer.ms);
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
    const Measured brelix =
        repeated(cli, QStringList{QStringLiteral("grep"), QStringLiteral("--no-limit"),
                                  QStringLiteral("needle")} +
                          books);
    const Measured peer =
        repeated(ssgrep, QStringList{QStringLiteral("-i"), QStringLiteral("needle")} + books);
    report("ten 100,000-cell .xls workbooks searched", brelix, peer, "ssgrep -i");
    const Measured ready =
        readyRepeated(QStringList{QStringLiteral("grep"), QStringLiteral("--no-limit"),
                                  QStringLiteral("needle")} +
                      books);
    std::printf("  with a ready office: %8.0f ms, ratio / ssgrep %.2f\n", ready.ms,
                ready.ms / peer.ms);

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
