// A batch print end to end on a real office: N two-sheet .xls workbooks (about three pages a
// sheet) printed to PDF files with the whole-workbook scope and the first-page-of-each-sheet
// scope, next to the office's own floor (start and quit). Prints; asserts nothing.
//
//   print_bench [workbooks] [repetitions]   (default 10 and 3)

#include "BenchSupport.h"
#include "core/host/HostError.h"
#include "core/print/PrintRun.h"
#include "core/run/RunUi.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using namespace brelix;
using bench::median;
using bench::SilentRunUi;
using bench::timeMs;

// The template's two sheets, 150 rows of text on each.
void makeWorkbook(host::SpreadsheetHostFactory& factory, const QString& path)
{
    bench::copyTemplate(path);
    auto host = factory.start();
    const QString book = host->openWorkbook(path);
    QList<QVariantList> rows;
    for (int r = 1; r <= 150; ++r)
        rows.append({QStringLiteral("row %1").arg(r), r * 7});
    host->writeRows(book, 1, 1, 1, rows);
    host->writeRows(book, 2, 1, 1, rows);
    host->saveWorkbook(book);
    host->quit();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = bench::countArgument(argc, argv, 1, 10);
    const int repetitions = bench::countArgument(argc, argv, 2, 3);
    libreoffice::LibreOfficeHostFactory factory(bench::headlessOffice());
    QTemporaryDir dir;

    try {
        const QString first = dir.filePath(QStringLiteral("book1.xls"));
        makeWorkbook(factory, first);
        QStringList names = {QStringLiteral("book1.xls")};
        for (int i = 2; i <= count; ++i) {
            names.append(QStringLiteral("book%1.xls").arg(i));
            QFile::copy(first, dir.filePath(names.last()));
        }

        std::printf("print_bench: %d two-sheet workbooks to PDF, %d repetitions\n", count,
                    repetitions);
        std::vector<double> floors;
        for (int i = 0; i < repetitions; ++i)
            floors.push_back(timeMs([&] { factory.start()->quit(); }));
        const double floor = median(floors);
        std::printf("  office floor (start, quit): median %.0f ms\n", floor);
        for (const print::PrintScope scope :
             {print::PrintScope::AllSheetsAllPages, print::PrintScope::AllSheetsFirstPage}) {
            std::vector<double> runs;
            int printed = 0;
            for (int i = 0; i < repetitions; ++i) {
                QTemporaryDir pdfs;
                qputenv("BRELIX_PDF_DIR", QFile::encodeName(pdfs.path()));
                print::PrintRequest request;
                request.entries = print::listedEntries(dir.path(), names, QList<bool>(count, true));
                request.scope = scope;
                SilentRunUi ui;
                runs.push_back(
                    timeMs([&] { printed = print::PrintRun(factory, ui).start(request).printed; }));
                qunsetenv("BRELIX_PDF_DIR");
            }
            const double total = median(runs);
            std::printf("  scope %d: median %.0f ms for %d printed, %.0f ms a workbook "
                        "beyond the floor\n",
                        static_cast<int>(scope), total, printed, (total - floor) / count);
        }
    } catch (const host::HostError& e) {
        std::fprintf(stderr, "print_bench: %s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
