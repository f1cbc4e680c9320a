// A search end to end on a real office: 50 small .xls workbooks (two sheets of 20 x 10 cells,
// a few holding the text), all selected, next to the office's start-and-quit (what a fresh
// office per workbook would add each time), with one office and with two, and to Gnumeric's
// ssgrep on the same files when it is installed. Prints; asserts nothing.
//
//   search_bench [workbooks] [repetitions]   (default 50 3)

#include "BenchSupport.h"
#include "core/files/ProgramFolder.h"
#include "core/host/HostError.h"
#include "core/search/SearchRun.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <cstdio>

namespace {

using namespace brelix;
using bench::median;
using bench::SilentRunUi;
using bench::timeMs;

constexpr int kRows = 20;
constexpr int kColumns = 10;

// Workbook i holds the text in (i % kRows + 1, 3) of its second sheet, and every fifth one
// once more in its first sheet.
QStringList makeWorkbooks(host::SpreadsheetHostFactory& factory, const QDir& dir, int count)
{
    QStringList names;
    auto host = factory.start();
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("book%1.xls").arg(i, 2, 10, QLatin1Char('0'));
        const QString path = dir.filePath(name);
        bench::copyTemplate(path);
        const QString book = host->openWorkbook(path);
        for (int sheet = 1; sheet <= 2; ++sheet) {
            QList<QVariantList> rows;
            for (int r = 1; r <= kRows; ++r) {
                QVariantList row;
                for (int c = 1; c <= kColumns; ++c)
                    row.append(c % 2 ? QVariant(r * 100 + c)
                                     : QVariant(QStringLiteral("item %1-%2").arg(r).arg(c)));
                rows.append(row);
            }
            if (sheet == 2)
                rows[i % kRows][2] = QStringLiteral("the Needle here");
            else if (i % 5 == 0)
                rows[0][0] = QStringLiteral("NEEDLE");
            host->writeRows(book, sheet, 1, 1, rows);
        }
        host->saveWorkbook(book);
        host->closeWorkbook(book);
        names.append(name);
    }
    host->quit();
    return names;
}

// brelix-cli grep as a user runs it, starting its own offices and taking ready ones, with one
// office and with two, beside ssgrep and the office's own conversion of the same files in one
// process.
void wholeProcesses(const QDir& dir, const QStringList& names, int repetitions)
{
    const QString cli = bench::brelixCli();
    const QStringList grep = QStringList{QStringLiteral("grep"), QStringLiteral("needle")} + [&] {
        QStringList paths;
        for (const QString& name : names)
            paths.append(dir.filePath(name));
        return paths;
    }();
    const auto jobs = [&](int n) {
        return grep + QStringList{QStringLiteral("--jobs"), QString::number(n)};
    };
    std::vector<double> own, readyOne, readyTwo, peer, convert;
    QByteArray oneOutput, twoOutput;
    for (int i = 0; i < repetitions; ++i)
        own.push_back(bench::processMs(cli, jobs(1)));
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("start")});
    QString status;
    for (int i = 0; i < repetitions; ++i) {
        status = bench::waitForReadyOffice(2);
        readyOne.push_back(bench::processMs(cli, jobs(1), &oneOutput));
        bench::waitForReadyOffice(2);
        readyTwo.push_back(bench::processMs(cli, jobs(2), &twoOutput));
    }
    bench::processMs(cli, {QStringLiteral("office"), QStringLiteral("stop")});
    // Its own profile, made by a first conversion that is not counted.
    const QString profile =
        QStringLiteral("-env:UserInstallation=") +
        QString::fromLatin1(
            QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toEncoded());
    const QStringList conversion = QStringList{profile,
                                               QStringLiteral("--headless"),
                                               QStringLiteral("--convert-to"),
                                               QStringLiteral("csv"),
                                               QStringLiteral("--outdir"),
                                               dir.filePath(QStringLiteral("csv"))} +
                                   grep.mid(2);
    const QString soffice = QStringLiteral(LIBREOFFICE_PROGRAM_DIR "/soffice");
    bench::processMs(soffice, conversion);
    for (int i = 0; i < repetitions; ++i)
        convert.push_back(bench::processMs(soffice, conversion));
    std::printf("Whole processes, same files (median of %d):\n", repetitions);
    std::printf("  brelix-cli grep --jobs 1, own office:    %.0f ms\n", median(own));
    std::printf("  brelix-cli grep --jobs 1, ready office:  %.0f ms\n", median(readyOne));
    std::printf("  brelix-cli grep --jobs 2, ready offices: %.0f ms (%lld hit lines, %s output)\n",
                median(readyTwo), static_cast<long long>(twoOutput.count('\n')),
                twoOutput == oneOutput ? "the same" : "NOT the same");
    std::printf("  ratio two offices / one:                 %.2f x (on %d cores)\n",
                median(readyTwo) / median(readyOne), QThread::idealThreadCount());
    std::printf("  office status: %s\n", qPrintable(status));
    std::printf("  soffice --convert-to csv, one process:   %.0f ms\n", median(convert));
    std::printf("  ratio ready, two offices / conversion:   %.2f x\n",
                median(readyTwo) / median(convert));
    const QString ssgrep = QStandardPaths::findExecutable(QStringLiteral("ssgrep"));
    if (ssgrep.isEmpty())
        return;
    for (int i = 0; i < repetitions; ++i)
        peer.push_back(bench::processMs(
            ssgrep, QStringList{QStringLiteral("-F"), QStringLiteral("-i")} + grep.mid(1)));
    std::printf("  ssgrep -F -i:                            %.0f ms\n", median(peer));
    std::printf("  ratio own, one office / ssgrep:          %.1f x\n", median(own) / median(peer));
    std::printf("  ratio ready, one office / ssgrep:        %.1f x\n",
                median(readyOne) / median(peer));
    std::printf("  ratio ready, two offices / ssgrep:       %.1f x\n",
                median(readyTwo) / median(peer));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = bench::countArgument(argc, argv, 1, 50);
    const int repetitions = bench::countArgument(argc, argv, 2, 3);
    libreoffice::LibreOfficeHostFactory factory(bench::headlessOffice());
    QTemporaryDir dir;

    try {
        const QStringList names = makeWorkbooks(factory, QDir(dir.path()), count);
        search::SearchSettings settings;
        settings.searchText = QStringLiteral("needle");
        for (const QString& name : names)
            settings.targets.append({name, QDir(dir.path()).filePath(name)});
        settings.templatePath = files::programFile(QStringLiteral("Brelix_Format.xls"));
        settings.outputPath = QDir(dir.path()).filePath(QStringLiteral("Brelix.xls"));
        settings.hitFilePath = QDir(dir.path()).filePath(QStringLiteral("Brelix.grp"));

        std::vector<double> runs;
        std::vector<double> starts;
        qsizetype hits = 0;
        for (int i = 0; i < repetitions; ++i) {
            SilentRunUi ui;
            QString password;
            runs.push_back(timeMs([&] {
                hits = search::SearchRun(factory, ui, password).run(settings).hits.size();
            }));
            starts.push_back(timeMs([&] { factory.start()->quit(); }));
        }
        std::printf("search of %d workbooks (2 sheets of %d x %d cells each), %lld hits:\n", count,
                    kRows, kColumns, static_cast<long long>(hits));
        std::printf("  whole search with results, end to end: median %.0f ms (n=%d), "
                    "%.0f ms a workbook\n",
                    median(runs), repetitions, median(runs) / count);
        std::printf("  office start and quit:                 median %.0f ms; a fresh office "
                    "per workbook would add about %.0f ms\n",
                    median(starts), median(starts) * (count - 1));

        const std::vector<double> readyRuns = bench::onReadyOffice(
            factory, repetitions,
            [&](host::SpreadsheetHostFactory& office, run::RunUi& ui, QString& password) {
                search::SearchRun(office, ui, password).run(settings);
            });
        std::printf("  whole search with a ready office:       median %.0f ms (n=%d)\n",
                    median(readyRuns), repetitions);
        wholeProcesses(QDir(dir.path()), names, repetitions);

        const QString ssgrep = QStandardPaths::findExecutable(QStringLiteral("ssgrep"));
        if (ssgrep.isEmpty()) {
            std::printf("  ssgrep: not installed (Debian package gnumeric)\n");
            return 0;
        }
        std::vector<double> greps;
        QByteArray output;
        for (int i = 0; i < repetitions; ++i)
            greps.push_back(timeMs([&] {
                QProcess process;
                process.setWorkingDirectory(dir.path());
                process.start(ssgrep,
                              QStringList{QStringLiteral("-i"), QStringLiteral("needle")} + names);
                process.waitForFinished(-1);
                output = process.readAllStandardOutput();
            }));
        std::printf("  ssgrep -i on the same files:            median %.0f ms (n=%d), %lld lines\n",
                    median(greps), repetitions, static_cast<long long>(output.count('\n')));
    } catch (const host::HostError& e) {
        std::fprintf(stderr, "search_bench: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
