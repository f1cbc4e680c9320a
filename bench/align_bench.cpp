// The comparison by matched rows and columns on a real office, beside the comparison by
// position and beside daff (npm package), on one 100,000-cell pair saved as CSV: 5,000 rows x
// 20 columns, a row inserted near the top of the second and 1 % of the cells changed. The two
// comparers run on the office's open workbooks with the budget lifted; the office's loading of
// both files is timed apart. Prints; asserts nothing.
//
//   align_bench [repetitions]   (default 3)

#include "OpenPairComparison.h"
#include "core/host/HostError.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

namespace {

using namespace brelix;
using bench::Grid;
using bench::median;
using bench::timeMs;
using bench::writeCsv;

constexpr int kRows = 5000;
constexpr int kColumns = 20;
constexpr int kInsertedAt = 3; // row number in the second file

struct Counts {
    qsizetype changed = 0;
    qsizetype insertedRows = 0;
    qsizetype deletedRows = 0;
    qsizetype other = 0;
};

Counts countRecords(const QList<compare::DiffRecord>& records)
{
    Counts counts;
    QSet<QString> inserted, deleted;
    for (const compare::DiffRecord& r : records) {
        if (r.kind == compare::ChangeKind::Changed)
            counts.changed += 1;
        else if (r.kind == compare::ChangeKind::RowInserted)
            inserted.insert(r.secondAddress.sliced(1)); // the same column letter throughout
        else if (r.kind == compare::ChangeKind::RowDeleted)
            deleted.insert(r.address.sliced(1));
        else
            counts.other += 1;
    }
    counts.insertedRows = inserted.size();
    counts.deletedRows = deleted.size();
    return counts;
}

// daff's highlighter output: "+++" an inserted row, "---" a deleted one, "->" a row whose
// cells "old->new" changed.
Counts countDaff(const QString& path)
{
    Counts counts;
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> cells = line.split(',');
        if (cells.first() == "+++")
            counts.insertedRows += 1;
        else if (cells.first() == "---")
            counts.deletedRows += 1;
        else if (cells.first() == "->")
            for (qsizetype c = 1; c < cells.size(); ++c)
                counts.changed += cells[c].contains("->");
    }
    return counts;
}

// Sheet 1 of two open workbooks compared by position or aligned, with everything recorded.
QList<compare::DiffRecord> compareOpen(host::SpreadsheetHost& host, const QString& first,
                                       const QString& second, const QString& history, bool align)
{
    compare::DiffSettings settings;
    settings.alignRows = align;
    return bench::compareOpen(host, first, second, history, settings);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!bench::daffFound("align_bench"))
        return 1;
    const int repetitions = bench::countArgument(argc, argv, 1, 3);
    libreoffice::LibreOfficeHostFactory factory(bench::headlessOffice());
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };

    Grid first;
    for (int r = 1; r <= kRows; ++r) {
        QStringList row;
        for (int c = 1; c <= kColumns; ++c)
            row.append(c % 2 ? QString::number(r * 100 + c)
                             : QStringLiteral("r%1c%2").arg(r).arg(c));
        first.append(row);
    }
    Grid changed = first;
    std::mt19937 random(7);
    QSet<std::pair<int, int>> cells;
    while (cells.size() < kRows * kColumns / 100) {
        // Not in row 1, which daff reads as the column names.
        const int r = int(random() % (kRows - 1)) + 1, c = int(random() % kColumns);
        if (!cells.contains({r, c}))
            cells.insert({r, c}), changed[r][c] = QStringLiteral("x%1").arg(cells.size());
    }
    Grid inserted = changed;
    QStringList newRow;
    for (int c = 1; c <= kColumns; ++c)
        newRow.append(QStringLiteral("new%1").arg(c));
    inserted.insert(kInsertedAt - 1, newRow);
    writeCsv(path("first.csv"), first);
    writeCsv(path("second.csv"), inserted);
    writeCsv(path("same-rows.csv"), changed);
    bench::copyTemplate(path("Brelix.xls"));

    std::vector<double> loads, aligned, position, sameRows, daff;
    QList<compare::DiffRecord> alignedRecords, positionRecords, sameRowsRecords;
    try {
        for (int i = 0; i < repetitions; ++i) {
            auto host = factory.start();
            const QString history = host->openWorkbook(path("Brelix.xls"));
            // Each comparer gets both workbooks freshly loaded, as a run has them.
            const auto load = [&](const char* firstFile, const char* secondFile) {
                const QString a = host->openWorkbook(path(firstFile));
                return std::pair{a, host->openWorkbook(path(secondFile))};
            };
            const auto close = [&](const std::pair<QString, QString>& books) {
                host->closeWorkbook(books.first); // the colours go with them
                host->closeWorkbook(books.second);
            };
            // The first comparison in an office costs more, whichever it is: one untimed.
            std::pair<QString, QString> books = load("first.csv", "same-rows.csv");
            compareOpen(*host, books.first, books.second, history, false);
            close(books);
            books = load("first.csv", "same-rows.csv");
            sameRows.push_back(timeMs([&] {
                sameRowsRecords = compareOpen(*host, books.first, books.second, history, false);
            }));
            close(books);
            loads.push_back(timeMs([&] { books = load("first.csv", "second.csv"); }));
            aligned.push_back(timeMs([&] {
                alignedRecords = compareOpen(*host, books.first, books.second, history, true);
            }));
            close(books);
            books = load("first.csv", "second.csv");
            position.push_back(timeMs([&] {
                positionRecords = compareOpen(*host, books.first, books.second, history, false);
            }));
            host->quit();
            daff.push_back(timeMs([&] {
                QProcess::execute(QStringLiteral("daff"),
                                  {QStringLiteral("--output"), path("daff.csv"), path("first.csv"),
                                   path("second.csv")});
            }));
        }
    } catch (const host::HostError& e) {
        std::fprintf(stderr, "office failure: %s\n", qPrintable(e.description()));
        return 1;
    }
    const Counts ours = countRecords(alignedRecords), theirs = countDaff(path("daff.csv"));
    std::printf("A %d x %d CSV pair (%d cells), a row inserted at row %d, %lld cells changed\n",
                kRows, kColumns, kRows * kColumns, kInsertedAt,
                static_cast<long long>(cells.size()));
    std::printf("  matched rows:     %lld changed, %lld rows inserted, %lld deleted, %lld other\n",
                static_cast<long long>(ours.changed), static_cast<long long>(ours.insertedRows),
                static_cast<long long>(ours.deletedRows), static_cast<long long>(ours.other));
    std::printf("  daff:             %lld changed, %lld rows inserted, %lld deleted\n",
                static_cast<long long>(theirs.changed), static_cast<long long>(theirs.insertedRows),
                static_cast<long long>(theirs.deletedRows));
    std::printf("  by position:      %lld records (the same pair)\n",
                static_cast<long long>(positionRecords.size()));
    std::printf("  Medians of %d runs, office already started:\n", repetitions);
    std::printf("  office loads both CSV files:            %6.0f ms\n", median(loads));
    std::printf("  compare by matched rows and columns:    %6.0f ms\n", median(aligned));
    std::printf("  compare by position, same pair:         %6.0f ms\n", median(position));
    std::printf("  compare by position, no row inserted:   %6.0f ms (%lld records)\n",
                median(sameRows), static_cast<long long>(sameRowsRecords.size()));
    std::printf("  matched / by position without the row:  %.2fx\n",
                median(aligned) / median(sameRows));
    std::printf("  daff, whole process:                    %6.0f ms\n", median(daff));
    std::printf("  (load + matched compare) / daff:        %.2fx\n",
                (median(loads) + median(aligned)) / median(daff));
    return 0;
}
