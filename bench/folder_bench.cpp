// A comparison of two folders end to end: 50 small workbooks a side (24 .csv and 24 .xls pairs,
// every third one changed in a few cells, one workbook only in the first folder and one only
// in the second), `brelix-cli diff DIR1 DIR2` beside a shell loop of Gnumeric's ssdiff over the
// same pairs, with and without the offices `brelix-cli office start` keeps ready. Both files of
// a pair have one sheet of the same name (a text file's is named after the file, which is the
// same in both folders), so that ssdiff compares the cells brelix-cli compares; both counts of
// changed cells are printed. Each brelix-cli run is timed with one office and with two
// (--jobs 1 and 2). Prints; asserts nothing.
//
//   folder_bench [repetitions]   (default 3)

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <vector>

namespace {

using namespace brelix;
using bench::median;

constexpr int kPairs = 48;
constexpr int kRows = 12;
constexpr int kColumns = 8;

// A CSV of numbers and texts; `changes` cells from the top left corner's diagonal on differ.
void writeCsv(const QString& path, int seed, int changes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QTextStream out(&file);
    for (int r = 1; r <= kRows; ++r) {
        for (int c = 1; c <= kColumns; ++c) {
            if (c > 1)
                out << ',';
            if (r == c && r <= changes)
                out << "changed";
            else if (c % 2)
                out << seed * 1000 + r * 10 + c;
            else
                out << 'r' << r << 'c' << c;
        }
        out << '\n';
    }
}

// `name` in `folder`: a CSV as it is, or an .xls converted by Gnumeric from a CSV named
// data.csv, whose sheet is then "data" in both folders.
void writeWorkbook(const QDir& folder, const QString& name, int seed, int changes)
{
    if (name.endsWith(QStringLiteral(".csv"))) {
        writeCsv(folder.filePath(name), seed, changes);
        return;
    }
    QTemporaryDir scratch;
    const QString csv = QDir(scratch.path()).filePath(QStringLiteral("data.csv"));
    writeCsv(csv, seed, changes);
    bench::convert(csv, folder.filePath(name));
}

// The sum of N over brelix-cli's "PATH<TAB>changed N" lines.
long long brelixChangedCells(const QByteArray& output)
{
    long long cells = 0;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 2 && fields[1].startsWith("changed "))
            cells += fields[1].mid(8).toLongLong();
    }
    return cells;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = bench::countArgument(argc, argv, 1, 3);
    if (!bench::hasGnumericTool("ssconvert") || !bench::hasGnumericTool("ssdiff")) {
        std::fprintf(stderr,
                     "folder_bench: needs ssconvert and ssdiff (Debian package gnumeric)\n");
        return 1;
    }
    QTemporaryDir dir;
    const QDir home(dir.path());
    const QDir first(home.filePath(QStringLiteral("first")));
    const QDir second(home.filePath(QStringLiteral("second")));
    home.mkpath(QStringLiteral("first/sub"));
    home.mkpath(QStringLiteral("second/sub"));
    QStringList names;
    for (int i = 0; i < kPairs; ++i) {
        const QString name = QStringLiteral("%1f%2.%3")
                                 .arg(i % 4 == 0 ? QStringLiteral("sub/") : QString())
                                 .arg(i, 2, 10, QLatin1Char('0'))
                                 .arg(i % 2 ? QStringLiteral("xls") : QStringLiteral("csv"));
        names.append(name);
        writeWorkbook(first, name, i, 0);
        writeWorkbook(second, name, i, i % 3 == 0 ? 1 + i % 4 : 0);
    }
    writeWorkbook(first, QStringLiteral("removed.xls"), 90, 0);
    writeWorkbook(second, QStringLiteral("added.csv"), 91, 0);
    names << QStringLiteral("added.csv") << QStringLiteral("removed.xls");
    bench::copyTemplate(home.filePath(QStringLiteral("Brelix_Format.xls")));
    qputenv("BRELIX_HOME", dir.path().toLocal8Bit());

    // The peer over every name, as a user's loop would go: a file of one folder only is said so.
    QString loop = QStringLiteral("cd '%1' && for f in").arg(dir.path());
    for (const QString& name : names)
        loop += u' ' + name;
    loop += QStringLiteral("; do if [ -e first/$f ] && [ -e second/$f ]; then ssdiff first/$f "
                           "second/$f; else echo \"$f only in one\"; fi; done");
    const QString cli = bench::brelixCli();
    const auto jobs = [&](int n) {
        return QStringList{QStringLiteral("diff"), first.path(), second.path(),
                           QStringLiteral("--jobs"), QString::number(n)};
    };
    std::vector<double> own, ownTwo, ready, readyTwo, peer;
    QByteArray oneOutput, twoOutput, peerOutput;
    for (int i = 0; i < repetitions; ++i) {
        own.push_back(bench::processMs(cli, jobs(1), &oneOutput));
        ownTwo.push_back(bench::processMs(cli, jobs(2), &twoOutput));
        peer.push_back(
            bench::processMs(QStringLiteral("sh"), {QStringLiteral("-c"), loop}, &peerOutput));
    }
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("start")});
    for (int i = 0; i < repetitions; ++i) {
        bench::waitForReadyOffice(2);
        peer.push_back(bench::processMs(QStringLiteral("sh"), {QStringLiteral("-c"), loop}));
        ready.push_back(bench::processMs(cli, jobs(1)));
        bench::waitForReadyOffice(2);
        readyTwo.push_back(bench::processMs(cli, jobs(2)));
    }
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("stop")});

    std::printf("Two folders, %d files: %d pairs, one added, one removed; medians of %d runs\n",
                kPairs + 2, kPairs, repetitions);
    std::printf(
        "  changed cells: brelix-cli %lld, ssdiff %lld; --jobs 2 output %s --jobs 1's\n",
        brelixChangedCells(oneOutput),
        static_cast<long long>(peerOutput.count("\nCell ") + peerOutput.startsWith("Cell ")),
        oneOutput == twoOutput ? "the same as" : "DIFFERS from");
    std::printf("  brelix-cli diff DIR1 DIR2 --jobs 1:   %7.0f ms\n", median(own));
    std::printf("  brelix-cli diff DIR1 DIR2 --jobs 2:   %7.0f ms\n", median(ownTwo));
    std::printf("  --jobs 1 with the ready offices:      %7.0f ms\n", median(ready));
    std::printf("  --jobs 2 with the ready offices:      %7.0f ms\n", median(readyTwo));
    std::printf("  shell loop of ssdiff:                 %7.0f ms\n", median(peer));
    std::printf("  ratio brelix / ssdiff: %.2f, with the ready offices %.2f (--jobs 2: %.2f)\n",
                median(own) / median(peer), median(ready) / median(peer),
                median(readyTwo) / median(peer));
    return 0;
}
