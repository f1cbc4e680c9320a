// Figures of the LibreOffice host, through the host interface only: start, open and save,
// cell reads one by one against whole rectangles, colouring, quit. Prints; asserts nothing.
//
//   host_bench [repetitions]   (default 5)

#include "core/files/ProgramFolder.h"
#include "core/host/HostError.h"
#include "core/host/SpreadsheetHost.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

using brelix::host::CellPosition;
using brelix::host::CellRange;
using brelix::host::CellTextKind;
using brelix::host::HostError;
using brelix::host::SpreadsheetHost;
using brelix::libreoffice::LibreOfficeHostFactory;
using brelix::libreoffice::OfficeOptions;
using Clock = std::chrono::steady_clock;

constexpr int kSide = 100; // the workbook holds kSide x kSide cells
constexpr int kSubset = 30;
constexpr int kScattered = 1000;
// Single-cell reads over the whole sheet only when they are projected to stay under this.
constexpr double kFullReadBudgetMs = 8000.0;

template <typename F> double timeMs(F&& body)
{
    const auto start = Clock::now();
    body();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Stats {
    double median = 0;
    double min = 0;
    double max = 0;
    qsizetype n = 0;
};

Stats stats(std::vector<double> samples)
{
    Stats s;
    s.n = static_cast<qsizetype>(samples.size());
    if (samples.empty())
        return s;
    std::sort(samples.begin(), samples.end());
    const size_t mid = samples.size() / 2;
    s.median = samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2;
    s.min = samples.front();
    s.max = samples.back();
    return s;
}

void print(const QString& line)
{
    std::fputs(qPrintable(line), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void heading(const char* title)
{
    print(QString());
    print(QString::fromLatin1(title));
}

// A label and its figure, the figures of a block in one column.
void line(const QString& label, const QString& value)
{
    print(QStringLiteral("  %1 %2").arg(label + QLatin1Char(':'), -50).arg(value));
}

void line(const char* label, const QString& value)
{
    line(QString::fromLatin1(label), value);
}

// "median 12.3 ms (min 11.0, max 14.2, n=5)", or just the value for one sample.
QString figure(const Stats& s, const char* unit = "ms")
{
    const QString u = QString::fromLatin1(unit);
    if (s.n == 1)
        return QStringLiteral("%1 %2 (n=1)").arg(s.median, 0, 'f', 1).arg(u);
    return QStringLiteral("median %1 %2 (min %3, max %4, n=%5)")
        .arg(s.median, 0, 'f', 1)
        .arg(u)
        .arg(s.min, 0, 'f', 1)
        .arg(s.max, 0, 'f', 1)
        .arg(s.n);
}

void report(const char* label, const Stats& s, const char* unit = "ms")
{
    line(label, figure(s, unit));
}

void note(const QString& text)
{
    print(QStringLiteral("    %1").arg(text));
}

QString officeVersion(const QString& scratch)
{
    // A private profile folder, so that asking for the version never touches the user's own.
    QProcess soffice;
    soffice.setProcessChannelMode(QProcess::MergedChannels);
    soffice.start(QStringLiteral("/usr/lib/libreoffice/program/soffice"),
                  {QStringLiteral("-env:UserInstallation=") +
                       QString::fromLatin1(QUrl::fromLocalFile(scratch).toEncoded()),
                   QStringLiteral("--version")});
    if (!soffice.waitForFinished(20000)) {
        soffice.kill();
        soffice.waitForFinished(2000);
        return QStringLiteral("unknown");
    }
    return QString::fromLocal8Bit(soffice.readAll()).trimmed();
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    const QList<QByteArray> fields = file.readAll().simplified().split(' ');
    return QString::fromLatin1(fields.mid(0, 3).join(' '));
}

// Mixed numbers and texts, as a compared sheet holds them.
QList<QVariantList> sheetData()
{
    QList<QVariantList> rows;
    for (int r = 1; r <= kSide; ++r) {
        QVariantList& row = rows.emplace_back();
        for (int c = 1; c <= kSide; ++c) {
            switch ((r + c) % 3) {
            case 0:
                row.append(QStringLiteral("R%1C%2 text").arg(r).arg(c));
                break;
            case 1:
                row.append(r * 1000 + c);
                break;
            default:
                row.append(r + c / 8.0);
                break;
            }
        }
    }
    return rows;
}

// Distinct cells spread over the rectangle, the same on every run.
QList<CellPosition> scatteredCells()
{
    std::vector<int> all(kSide * kSide);
    for (int i = 0; i < kSide * kSide; ++i)
        all[static_cast<size_t>(i)] = i;
    std::mt19937 random(20240601);
    std::shuffle(all.begin(), all.end(), random);
    QList<CellPosition> cells;
    for (int i = 0; i < kScattered; ++i) {
        const int index = all[static_cast<size_t>(i)];
        cells.append({index / kSide + 1, index % kSide + 1});
    }
    return cells;
}

const char* kindName(CellTextKind kind)
{
    return kind == CellTextKind::Value ? "Value" : "Formula";
}

int run(int repetitions)
{
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        print(QStringLiteral("cannot make a temporary folder"));
        return 1;
    }
    const QString templatePath = brelix::files::programFile(QStringLiteral("Brelix_Format.xls"));
    if (!QFileInfo::exists(templatePath)) {
        print(QStringLiteral("%1 is missing; build the brelix_resources target first")
                  .arg(templatePath));
        return 1;
    }

    print(QStringLiteral("Brelix host benchmark (LibreOffice, headless)"));
    line("processors (nproc)", QString::number(QThread::idealThreadCount()));
    line("load average at start (1, 5, 15 min)", loadAverage());
    line("office", officeVersion(scratch.filePath(QStringLiteral("version-profile"))));
    line("repetitions", QString::number(repetitions));
    line("workbook",
         QStringLiteral("%1 x %1 = %2 cells, .xls (BIFF8)").arg(kSide).arg(kSide * kSide));

    // The prepared profile lies in this run's own cache folder, so that its making counts too.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("cache"))));
    LibreOfficeHostFactory factory{{OfficeOptions::Display::Headless}};
    OfficeOptions emptyProfile{OfficeOptions::Display::Headless};
    emptyProfile.preparedProfile = false;
    LibreOfficeHostFactory emptyFactory{emptyProfile};
    std::vector<double> emptyQuits;

    // Starts from an empty profile and from a copy of the prepared one take turns, so that
    // both meet the same load of the machine. The first workbook a start opens loads Calc.
    heading("1. Instance start to connected: empty private profile vs copy of the prepared one");
    {
        report("first start, preparing the profile (start, quit)",
               stats({timeMs([&] { factory.start()->quit(); })}));
        struct Variant {
            const char* name;
            LibreOfficeHostFactory& factory;
            std::vector<double> starts;
            std::vector<double> withBook;
        };
        Variant variants[] = {{"empty profile", emptyFactory, {}, {}},
                              {"prepared profile copy", factory, {}, {}}};
        for (int i = 0; i < std::max(repetitions, 3); ++i)
            for (Variant& v : variants) {
                std::unique_ptr<SpreadsheetHost> host;
                const double start = timeMs([&] { host = v.factory.start(); });
                const double open =
                    timeMs([&] { host->closeWorkbook(host->openWorkbook(templatePath)); });
                v.starts.push_back(start);
                v.withBook.push_back(start + open);
                emptyQuits.push_back(timeMs([&] { host->quit(); }));
            }
        for (const Variant& v : variants) {
            line(v.name, QString());
            report("  start to connected", stats(v.starts));
            report("  start and first workbook opened and closed", stats(v.withBook));
        }
        line("prepared / empty, start and first workbook",
             QStringLiteral("%1").arg(stats(variants[1].withBook).median /
                                          stats(variants[0].withBook).median,
                                      0, 'f', 2));
    }

    std::unique_ptr<SpreadsheetHost> host = factory.start();
    const QString path = scratch.filePath(QStringLiteral("bench10k.xls"));
    if (!QFile::copy(templatePath, path)) {
        print(QStringLiteral("cannot copy %1 to %2").arg(templatePath, path));
        return 1;
    }
    // A copy keeps its source's mode, which need not be writable; this one is saved over.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    heading("2. Open, save and close of a 10,000-cell .xls");
    {
        const QString book = host->openWorkbook(path);
        const QList<QVariantList> data = sheetData();
        const double write = timeMs([&] { host->writeRows(book, 1, 1, 1, data); });
        const double firstSave = timeMs([&] { host->saveWorkbook(book); });
        host->closeWorkbook(book);
        report("writeRows of 10,000 cells (one call)", stats({write}));
        report("first save with the 10,000 cells", stats({firstSave}));
        note(QStringLiteral("file size %1 bytes").arg(QFileInfo(path).size()));

        std::vector<double> opens, saves, closes;
        for (int i = 0; i < repetitions; ++i) {
            QString name;
            opens.push_back(timeMs([&] { name = host->openWorkbook(path); }));
            // One changed cell, so that every save writes a modified workbook.
            host->setCellValue(name, 1, kSide + 2, 1, i);
            saves.push_back(timeMs([&] { host->saveWorkbook(name); }));
            closes.push_back(timeMs([&] { host->closeWorkbook(name); }));
        }
        report("openWorkbook", stats(opens));
        report("saveWorkbook (one cell changed)", stats(saves));
        report("closeWorkbook", stats(closes));
    }

    const QString book = host->openWorkbook(path);
    const CellPosition used = host->lastUsedCell(book, 1);
    const CellRange whole{{1, 1}, {kSide, kSide}};

    heading("3. Reading cell texts: one cell per call vs rangeTexts of the rectangle");
    note(QStringLiteral("numbers and texts, no formulas; used area ends at row %1, column %2")
             .arg(used.row)
             .arg(used.column));
    note(QStringLiteral("(row %1 holds the cell the saves changed)").arg(kSide + 2));
    note(QStringLiteral("A1:D1 by Value: %1")
             .arg(host->rangeTexts(book, 1, {{1, 1}, {1, 4}}, CellTextKind::Value)
                      .value(0)
                      .join(QStringLiteral(" | "))));
    {
        // The cost of any host call: the guard around it and a few round trips to the office.
        std::vector<double> trivial;
        for (int i = 0; i < 200; ++i)
            trivial.push_back(timeMs([&] { host->sheetCount(book); }) * 1000.0);
        report("sheetCount, a trivial call, per call", stats(trivial), "us");
    }
    for (const CellTextKind kind : {CellTextKind::Value, CellTextKind::Formula}) {
        const QString by = QStringLiteral("by %1, ").arg(QString::fromLatin1(kindName(kind)));
        std::vector<double> bulk;
        QList<QStringList> bulkTexts;
        for (int i = 0; i < repetitions; ++i)
            bulk.push_back(timeMs([&] { bulkTexts = host->rangeTexts(book, 1, whole, kind); }));

        // A subset first, to tell whether the whole sheet one by one fits the time budget.
        int side = kSubset;
        QStringList single;
        const auto readOneByOne = [&] {
            single.clear();
            return timeMs([&] {
                for (int r = 1; r <= side; ++r)
                    for (int c = 1; c <= side; ++c)
                        single.append(
                            host->rangeTexts(book, 1, {{r, c}, {r, c}}, kind).value(0).value(0));
            });
        };
        double singleMs = readOneByOne();
        if (singleMs / (side * side) * kSide * kSide < kFullReadBudgetMs) {
            side = kSide;
            singleMs = readOneByOne();
        }
        int mismatches = 0;
        for (int r = 0; r < side; ++r)
            for (int c = 0; c < side; ++c)
                if (single[r * side + c] != bulkTexts.value(r).value(c))
                    ++mismatches;

        const Stats b = stats(bulk);
        const double bulkPerCell = b.median * 1000.0 / (kSide * kSide);
        const double singlePerCell = singleMs * 1000.0 / (side * side);
        line(by + QStringLiteral("rangeTexts 100x100 in one call"), figure(b));
        line(by + QStringLiteral("rangeTexts per cell"),
             QStringLiteral("%1 us").arg(bulkPerCell, 0, 'f', 2));
        if (side == kSide) {
            line(by + QStringLiteral("one cell per call x 10,000"), figure(stats({singleMs})));
        } else {
            line(by + QStringLiteral("one cell per call x %1 (%2x%2 subset)")
                          .arg(side * side)
                          .arg(side),
                 figure(stats({singleMs})));
            line(by + QStringLiteral("one cell per call x 10,000 EXTRAPOLATED"),
                 QStringLiteral("%1 ms (subset per cell x 10,000, not measured)")
                     .arg(singlePerCell * kSide * kSide / 1000.0, 0, 'f', 0));
        }
        line(by + QStringLiteral("one cell per call, per cell"),
             QStringLiteral("%1 us").arg(singlePerCell, 0, 'f', 1));
        line(by + QStringLiteral("one cell per call / rangeTexts per cell"),
             QStringLiteral("%1 x").arg(singlePerCell / bulkPerCell, 0, 'f', 0));
        line(by + QStringLiteral("cells that differ between the two"),
             QStringLiteral("%1 of %2").arg(mismatches).arg(side * side));
    }

    heading("4. Colouring 1,000 scattered cells (distinct, fixed seed)");
    {
        const QList<CellPosition> cells = scatteredCells();
        std::vector<double> oneCall, perCell;
        // Alternating colours, so that no call finds its cells already coloured as asked.
        for (int i = 0; i < repetitions; ++i)
            oneCall.push_back(timeMs([&] { host->fillCells(book, 1, cells, 3 + i % 2); }));
        const int perCellRuns = std::min(repetitions, 3);
        for (int i = 0; i < perCellRuns; ++i)
            perCell.push_back(timeMs([&] {
                for (const CellPosition& p : cells)
                    host->fillRange(book, 1, {p, p}, 5 + i % 2);
            }));
        const Stats one = stats(oneCall);
        const Stats per = stats(perCell);
        report("fillCells, 1,000 cells in one call", one);
        report("fillRange 1x1, 1,000 calls", per);
        line("fillCells per cell",
             QStringLiteral("%1 us").arg(one.median * 1000.0 / kScattered, 0, 'f', 1));
        line("fillRange per cell",
             QStringLiteral("%1 us").arg(per.median * 1000.0 / kScattered, 0, 'f', 1));
        line("fillRange per cell / fillCells",
             QStringLiteral("%1 x").arg(per.median / one.median, 0, 'f', 0));
    }

    heading("5. Quit (close every workbook unsaved, terminate, wait for the process to end)");
    report("empty instance (after each start above)", stats(emptyQuits));
    report("with the modified 10,000-cell workbook open", stats({timeMs([&] { host->quit(); })}));
    line("load average at end (1, 5, 15 min)", loadAverage());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int repetitions = 5;
    if (argc > 1) {
        bool ok = false;
        repetitions = QString::fromLocal8Bit(argv[1]).toInt(&ok);
        if (!ok || repetitions < 1 || repetitions > 100) {
            std::fputs("usage: host_bench [repetitions 1-100, default 5]\n", stderr);
            return 2;
        }
    }
    try {
        return run(repetitions);
    } catch (const HostError& e) {
        print(QStringLiteral("host error: %1").arg(e.description()));
        return 1;
    }
}
