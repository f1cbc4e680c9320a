// The comparison by key and the rules of equality on a real office. A 20,000 x 10 CSV pair whose
// rows carry an ID in column A: the second has 1 % of its other cells changed and its rows
// shuffled. Rows by key on the shuffled pair, beside the comparison by position of the same
// change without the shuffle and beside `daff --id` on the shuffled pair; then the comparison
// by position with every rule of equality on against none, on the unshuffled pair. Each
// comparison gets both files freshly loaded into an office already started (a ready office);
// the loading is timed apart. Prints; asserts nothing.
//
//   key_bench [repetitions]   (default 3)

#include "OpenPairComparison.h"
#include "core/host/HostError.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>

namespace {

using namespace brelix;
using bench::Grid;
using bench::median;
using bench::timeMs;

constexpr int kRows = 20000;
constexpr int kColumns = 10;

struct Pair {
    Grid first, changed, shuffled;
    qsizetype changedCells = 0;
};

Pair makePair()
{
    Pair pair;
    pair.first.append({QStringLiteral("ID")});
    for (int c = 2; c <= kColumns; ++c)
        pair.first.last().append(QStringLiteral("c%1").arg(c));
    for (int r = 1; r < kRows; ++r) {
        QStringList row{QStringLiteral("id%1").arg(r, 5, 10, QLatin1Char('0'))};
        for (int c = 2; c <= kColumns; ++c)
            row.append(c % 2 ? QString::number(r * 10 + c)
                             : QStringLiteral("r%1c%2").arg(r).arg(c));
        pair.first.append(row);
    }
    pair.changed = pair.first;
    std::mt19937 random(11);
    QSet<std::pair<int, int>> cells;
    while (cells.size() < kRows * kColumns / 100) {
        const int r = int(random() % (kRows - 1)) + 1, c = int(random() % (kColumns - 1)) + 1;
        if (!cells.contains({r, c}))
            cells.insert({r, c}), pair.changed[r][c] = QStringLiteral("x%1").arg(cells.size());
    }
    pair.changedCells = cells.size();
    pair.shuffled = pair.changed;
    std::shuffle(pair.shuffled.begin() + 1, pair.shuffled.end(), random);
    return pair;
}

// daff's highlighter output: cells "old->new" of the rows marked "->".
qsizetype daffChangedCells(const QString& path)
{
    qsizetype changed = 0;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> cells = line.split(',');
        if (cells.first() == "->" || cells.first() == ":->")
            for (qsizetype c = 1; c < cells.size(); ++c)
                changed += cells[c].contains("->");
    }
    return changed;
}

qsizetype changedRecords(const QList<compare::DiffRecord>& records)
{
    return std::count_if(records.begin(), records.end(), [](const compare::DiffRecord& r) {
        return r.kind == compare::ChangeKind::Changed;
    });
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!bench::daffFound("key_bench"))
        return 1;
    const int repetitions = bench::countArgument(argc, argv, 1, 3);
    libreoffice::LibreOfficeHostFactory factory(bench::headlessOffice());
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    const Pair pair = makePair();
    bench::writeCsv(path("first.csv"), pair.first);
    bench::writeCsv(path("second.csv"), pair.shuffled);
    bench::writeCsv(path("same-order.csv"), pair.changed);
    bench::copyTemplate(path("Brelix.xls"));

    compare::DiffSettings byKey, byPosition, withRules;
    byKey.keyColumns = {1};
    withRules.equality = {true, true, true, 0.001, {}};
    std::vector<double> loads, keyed, position, plain, ruled, daff;
    QList<compare::DiffRecord> keyedRecords, positionRecords, plainRecords, ruledRecords;
    try {
        for (int i = 0; i < repetitions; ++i) {
            auto host = factory.start();
            const QString history = host->openWorkbook(path("Brelix.xls"));
            std::pair<QString, QString> books;
            const auto load = [&](const char* secondFile) {
                books = {host->openWorkbook(path("first.csv")),
                         host->openWorkbook(path(secondFile))};
            };
            // One comparison timed on a fresh load of both files, by key or by position.
            const auto time = [&](const char* secondFile, const compare::DiffSettings& settings,
                                  std::vector<double>& ms, QList<compare::DiffRecord>& records) {
                load(secondFile);
                ms.push_back(timeMs([&] {
                    records =
                        bench::compareOpen(*host, books.first, books.second, history, settings);
                }));
                host->closeWorkbook(books.first);
                host->closeWorkbook(books.second);
            };
            // The first comparison in an office costs more, whichever it is: one untimed.
            std::vector<double> untimed;
            QList<compare::DiffRecord> ignored;
            time("same-order.csv", byPosition, untimed, ignored);
            loads.push_back(timeMs([&] { load("second.csv"); }));
            host->closeWorkbook(books.first);
            host->closeWorkbook(books.second);
            time("second.csv", byKey, keyed, keyedRecords);
            time("same-order.csv", byPosition, position, positionRecords);
            time("same-order.csv", byPosition, plain, plainRecords);
            time("same-order.csv", withRules, ruled, ruledRecords);
            host->quit();
            daff.push_back(timeMs([&] {
                QProcess::execute(QStringLiteral("daff"),
                                  {QStringLiteral("--id"), QStringLiteral("ID"),
                                   QStringLiteral("--output"), path("daff.csv"), path("first.csv"),
                                   path("second.csv")});
            }));
        }
    } catch (const host::HostError& e) {
        std::fprintf(stderr, "office failure: %s\n", qPrintable(e.description()));
        return 1;
    }
    // As a user runs it: brelix-cli with the two offices `brelix-cli office start` keeps ready,
    // each run beside one of daff's.
    bench::copyTemplate(path("Brelix_Format.xls"));
    qputenv("BRELIX_HOME", dir.path().toLocal8Bit());
    const QString cli = bench::brelixCli();
    std::vector<double> whole, daffBeside;
    QByteArray printed;
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("start")});
    for (int i = 0; i < repetitions; ++i) {
        bench::waitForReadyOffice(2);
        daffBeside.push_back(
            bench::processMs(QStringLiteral("daff"), {QStringLiteral("--id"), QStringLiteral("ID"),
                                                      QStringLiteral("--output"), path("daff.csv"),
                                                      path("first.csv"), path("second.csv")}));
        whole.push_back(
            bench::processMs(cli,
                             {QStringLiteral("diff"), QStringLiteral("--key"), QStringLiteral("A"),
                              QStringLiteral("--no-limit"), path("first.csv"), path("second.csv")},
                             &printed));
    }
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("stop")});

    std::printf("A %d x %d CSV pair, rows shuffled, %lld cells changed\n", kRows, kColumns,
                static_cast<long long>(pair.changedCells));
    std::printf("  by key A:          %lld changed cells of %lld records\n",
                static_cast<long long>(changedRecords(keyedRecords)),
                static_cast<long long>(keyedRecords.size()));
    std::printf("  daff --id ID:      %lld changed cells\n",
                static_cast<long long>(daffChangedCells(path("daff.csv"))));
    std::printf("  by position, unshuffled: %lld records; with the rules %lld\n",
                static_cast<long long>(positionRecords.size()),
                static_cast<long long>(ruledRecords.size()));
    std::printf("  Medians of %d runs, office already started:\n", repetitions);
    std::printf("  office loads both CSV files:              %6.0f ms\n", median(loads));
    std::printf("  compare by key, shuffled pair:            %6.0f ms\n", median(keyed));
    std::printf("  compare by position, unshuffled pair:     %6.0f ms\n", median(position));
    std::printf("  by key / by position unshuffled:          %.2fx\n",
                median(keyed) / median(position));
    std::printf("  daff --id, whole process:                 %6.0f ms\n", median(daff));
    std::printf("  (load + compare by key) / daff:           %.2fx\n",
                (median(loads) + median(keyed)) / median(daff));
    std::printf("  by position without rules / with all five: %6.0f / %6.0f ms, %.2fx\n",
                median(plain), median(ruled), median(ruled) / median(plain));
    std::printf("Whole processes, medians of %d runs, with the two ready offices:\n", repetitions);
    std::printf("  brelix-cli diff --key A --no-limit:       %6.0f ms (%lld lines)\n",
                median(whole), static_cast<long long>(printed.count('\n')));
    std::printf("  daff --id ID:                             %6.0f ms\n", median(daffBeside));
    std::printf("  brelix-cli / daff:                        %.2fx\n",
                median(whole) / median(daffBeside));
    return 0;
}
