// A comparison end to end on a real office: a 90 x 90 .xls pair with 1 % of its cells
// changed, colouring on, next to the office's own floor for the same files (start, loading
// both workbooks, saving the change history); then brelix-cli as a user runs it, beside
// Gnumeric's ssdiff: with its own office, 20 runs back to back and one after a pause with the
// offices `brelix-cli office start` keeps (each comparison gives its two back). Prints;
// asserts nothing.
//
//   diff_bench [repetitions]     (default 3)
//   diff_bench memory [jobs]     the keeper's offices over that many reused comparisons
//                                (default 500)

#include "BenchSupport.h"
#include "core/compare/DiffRun.h"
#include "core/files/ProgramFolder.h"
#include "core/host/HostError.h"
#include "core/run/OfficeReuse.h"
#include "core/run/RunUi.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

using namespace brelix;
using bench::median;
using bench::SilentRunUi;
using bench::timeMs;

constexpr int kSide = 90;

// Writes a kSide x kSide workbook of numbers and texts; `changed` cells differ.
void makeWorkbook(host::SpreadsheetHostFactory& factory, const QString& path,
                  const std::vector<std::pair<int, int>>& changed)
{
    bench::copyTemplate(path);
    auto host = factory.start();
    const QString book = host->openWorkbook(path);
    QList<QVariantList> rows;
    for (int r = 1; r <= kSide; ++r) {
        QVariantList row;
        for (int c = 1; c <= kSide; ++c)
            row.append(c % 2 ? QVariant(r * 1000 + c)
                             : QVariant(QStringLiteral("r%1c%2").arg(r).arg(c)));
        rows.append(row);
    }
    for (const auto& [r, c] : changed)
        rows[r - 1][c - 1] = QStringLiteral("changed");
    host->deleteSheet(book, QStringLiteral("Grep結果")); // one sheet a side
    host->writeRows(book, 1, 1, 1, rows);
    host->saveWorkbook(book);
    host->quit();
}

// What `brelix-cli office status` said: its offices' memory in MiB, and their processes.
std::pair<int, QString> keeperStatus(const QString& status)
{
    static const QRegularExpression memory(QStringLiteral("memory (\\d+) MiB"));
    static const QRegularExpression office(QStringLiteral("ready office process (\\d+)"));
    QStringList offices;
    for (const QRegularExpressionMatch& m : office.globalMatch(status))
        offices.append(m.captured(1));
    return {memory.match(status).captured(1).toInt(), offices.join(QLatin1Char(' '))};
}

// brelix-cli diff as a user runs it, starting its own office and with the keeper's, beside
// Gnumeric's ssdiff on the same files.
void wholeProcesses(const QString& first, const QString& second, int repetitions)
{
    constexpr int kBackToBack = 20;
    const QString cli = bench::brelixCli();
    const QStringList diff = {QStringLiteral("diff"), first, second};
    std::vector<double> own, backToBack, peer;
    for (int i = 0; i < repetitions; ++i)
        own.push_back(bench::processMs(cli, diff));
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("start")});
    bench::waitForReadyOffice(2);
    for (int i = 0; i < kBackToBack; ++i)
        backToBack.push_back(bench::processMs(cli, diff));
    constexpr int kAfterPauses = 5;
    std::vector<double> afterPauses;
    QString status;
    for (int i = 0; i < kAfterPauses; ++i) {
        QThread::sleep(5);
        status = bench::waitForReadyOffice(2);
        afterPauses.push_back(bench::processMs(cli, diff));
    }
    const double afterPause = median(afterPauses);
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("stop")});
    std::printf("Whole processes, same files:\n");
    std::printf("  brelix-cli diff, own office:          %.0f ms (median of %d)\n", median(own),
                repetitions);
    std::printf("  with office start, back to back:      %.0f ms (median of %d; slowest %.0f)\n",
                median(backToBack), kBackToBack,
                *std::max_element(backToBack.begin(), backToBack.end()));
    std::printf("  with office start, after a pause:     %.0f ms (median of %d, 5 s each)\n",
                afterPause, kAfterPauses);
    std::printf("  office status: %s\n", qPrintable(status));
    const QString ssdiff = QStandardPaths::findExecutable(QStringLiteral("ssdiff"));
    if (ssdiff.isEmpty()) {
        std::printf("  ssdiff: not installed (Debian package gnumeric)\n");
        return;
    }
    for (int i = 0; i < std::max(repetitions, 5); ++i)
        peer.push_back(bench::processMs(ssdiff, {first, second}));
    std::printf("  ssdiff:                               %.0f ms\n", median(peer));
    std::printf("  ratio own / ssdiff:                   %.1f x\n", median(own) / median(peer));
    std::printf("  ratio back to back / ssdiff:          %.1f x (goal 2)\n",
                median(backToBack) / median(peer));
    std::printf("  ratio after a pause / ssdiff:         %.1f x (goal 1.5)\n",
                afterPause / median(peer));
}

// The keeper's two offices over `jobs` comparisons back to back, each giving them back.
void keeperMemory(const QString& first, const QString& second, int jobs)
{
    const QString cli = bench::brelixCli();
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("start")});
    const auto [startMiB, startOffices] = keeperStatus(bench::waitForReadyOffice(2));
    std::printf("Keeper's offices over %d comparisons (bound %lld MiB an office, retired after "
                "%d jobs):\n",
                jobs, static_cast<long long>(run::OfficeReuse::kMemoryBoundKiB / 1024),
                run::OfficeReuse::kMaxJobs);
    std::printf("  %5d jobs: %4d MiB for two, offices %s\n", 0, startMiB, qPrintable(startOffices));
    int highest = startMiB;
    std::vector<double> runs;
    for (int job = 1; job <= jobs; ++job) {
        runs.push_back(bench::processMs(cli, {QStringLiteral("diff"), first, second}));
        if (job % 50 && job != jobs)
            continue;
        const auto [memoryMiB, offices] = keeperStatus(bench::waitForReadyOffice(2));
        highest = std::max(highest, memoryMiB);
        std::printf("  %5d jobs: %4d MiB for two, offices %s, median %.0f ms\n", job, memoryMiB,
                    qPrintable(offices), median(runs));
        runs.clear();
    }
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("stop")});
    std::printf("  highest: %d MiB for two offices\n", highest);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool memoryMode = argc > 1 && qstrcmp(argv[1], "memory") == 0;
    const int repetitions = bench::countArgument(argc, argv, 1, 3);
    libreoffice::LibreOfficeHostFactory factory(bench::headlessOffice());
    QTemporaryDir dir;

    std::mt19937 random(7);
    std::vector<std::pair<int, int>> changed;
    while (changed.size() < kSide * kSide / 100) {
        const std::pair<int, int> cell{int(random() % kSide) + 1, int(random() % kSide) + 1};
        if (std::find(changed.begin(), changed.end(), cell) == changed.end())
            changed.push_back(cell);
    }
    const QString first = dir.filePath(QStringLiteral("first.xls"));
    const QString second = dir.filePath(QStringLiteral("second.xls"));
    try {
        makeWorkbook(factory, first, {});
        makeWorkbook(factory, second, changed);
        if (memoryMode) {
            keeperMemory(first, second, bench::countArgument(argc, argv, 2, 500));
            return 0;
        }

        compare::DiffSettings settings;
        settings.firstPath = first;
        settings.secondPath = second;
        settings.outputPath = dir.filePath(QStringLiteral("Brelix.xls"));
        settings.templatePath = files::programFile(QStringLiteral("Brelix_Format.xls"));
        settings.colourDifferences = true;

        std::vector<double> runs;
        std::vector<double> floors;
        qsizetype records = 0;
        for (int i = 0; i < repetitions; ++i) {
            SilentRunUi ui;
            QString password;
            runs.push_back(timeMs([&] {
                records = compare::DiffRun(factory, ui, password).start(settings).records.size();
            }));
            floors.push_back(timeMs([&] {
                auto host = factory.start();
                host->openWorkbook(first);
                host->openWorkbook(second);
                const QString output = host->openWorkbook(settings.outputPath);
                host->saveWorkbook(output);
                host->quit();
            }));
        }
        std::printf("Comparison of a %d x %d .xls pair, %zu cells changed, colouring on\n", kSide,
                    kSide, changed.size());
        std::printf("  processors (nproc):                  %d\n", QThread::idealThreadCount());
        std::printf("  records found:                       %lld\n",
                    static_cast<long long>(records));
        std::printf("  whole comparison, end to end:        median %.0f ms (n=%d)\n", median(runs),
                    repetitions);
        std::printf("  office floor (start, open 3, save):  median %.0f ms (n=%d)\n",
                    median(floors), repetitions);
        std::printf("  the comparison's own work:           %.0f ms\n",
                    median(runs) - median(floors));
        std::printf("  (81 differences cost more than the budget leaves after the sheet: the\n"
                    "   run records within it until the budget is spent, then the first\n"
                    "   difference of every later row, exactly as reading cell by cell)\n");

        // As the window runs it with its ready office: from the button to the results.
        const std::vector<double> readyRuns = bench::onReadyOffice(
            factory, repetitions,
            [&](host::SpreadsheetHostFactory& office, run::RunUi& ui, QString& password) {
                compare::DiffRun(office, ui, password).start(settings);
            });
        std::printf("  whole comparison with a ready office: median %.0f ms (n=%d)\n",
                    median(readyRuns), repetitions);
        wholeProcesses(first, second, repetitions);
    } catch (const host::HostError& e) {
        std::fprintf(stderr, "office failure: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
