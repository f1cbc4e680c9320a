#pragma once

// What the benches of the comparers share: CSV files written from grids, and one comparer run
// over sheet 1 of two workbooks already open in an office, with the budget lifted.

#include "BenchSupport.h"
#include "core/compare/DiffRunState.h"

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

template <typename Comparer>
QList<compare::DiffRecord> compareOpen(host::SpreadsheetHost& host, const QString& first,
                                       const QString& second, const QString& history,
                                       const compare::DiffSettings& settings)
{
    SilentRunUi ui;
    compare::DiffRunState state;
    state.settings = settings;
    state.budget = compare::DiffBudget(true);
    state.firstName = first;
    state.secondName = second;
    state.historyName = history;
    state.nextHistoryRow = 2;
    const host::CellPosition a = host.lastUsedCell(first, 1), b = host.lastUsedCell(second, 1);
    state.maxRows = std::max(a.row, b.row);
    state.maxColumns = std::max(a.column, b.column);
    Comparer(host, ui, state).compare({1, 1}, host.sheetName(first, 1));
    return state.records;
}

} // namespace brelix::bench
