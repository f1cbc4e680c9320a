#pragma once

// What the benches of the comparers share: CSV files written from grids, and one comparison of
// sheet 1 of two workbooks already open in an office, with the budget lifted.

#include "BenchSupport.h"
#include "core/compare/WorkbookComparer.h"

#include <QFile>
#include <QStandardPaths>
#include <QTextStream>
#include <cstdio>

namespace brelix::bench {

using Grid = QList<QStringList>;

// daff (npm package), the peer of the comparers' benches; false, once said, when it is missing.
inline bool daffFound(const char* bench)
{
    if (!QStandardPaths::findExecutable(QStringLiteral("daff")).isEmpty())
        return true;
    std::fprintf(stderr, "%s: needs daff (npm package daff)\n", bench);
    return false;
}

inline void writeCsv(const QString& path, const Grid& grid)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    QTextStream out(&file);
    for (const QStringList& row : grid)
        out << row.join(u',') << '\n';
}

// Sheet 1 of each workbook compared as a run compares a sheet pair; the settings pick the comparer.
inline QList<compare::DiffRecord> compareOpen(host::SpreadsheetHost& host, const QString& first,
                                              const QString& second, const QString& history,
                                              compare::DiffSettings settings)
{
    SilentRunUi ui;
    QString password;
    settings.noSizeLimit = true;
    compare::DiffRunState state({.settings = settings,
                                 .range = {1, 1, false},
                                 .firstName = first,
                                 .secondName = second,
                                 .historyName = history});
    compare::WorkbookComparer comparer(host, ui, state, password);
    comparer.countSheets();
    comparer.limitToRange();
    comparer.compareSheets();
    return state.records();
}

} // namespace brelix::bench
