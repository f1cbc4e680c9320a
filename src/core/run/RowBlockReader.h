#pragma once

#include "core/host/CellRange.h"
#include "core/host/SpreadsheetHost.h"

#include <QList>
#include <QStringList>

namespace brelix::run {

// The texts of a sheet's used area, row by row, read a block of rows per host call: few calls,
// and bounded memory however wide the sheet is.
class RowBlockReader {
public:
    RowBlockReader(host::SpreadsheetHost& host, const QString& book, int sheet,
                   const host::CellPosition& extent, host::CellTextKind kind)
        : m_host(host), m_book(book), m_sheet(sheet), m_extent(extent), m_kind(kind)
    {
    }

    // Rows are asked for from the top down; row r needs a read when the block held ends above
    // it.
    bool needsRead(int row) const;
    // Reads the block that starts at `row`; HostError passes through and leaves no rows held.
    void readFrom(int row);
    // Both read their block at `row` in one host call: readers of two workbooks on the same
    // host, extent and kind.
    static void readBothFrom(RowBlockReader& first, RowBlockReader& second, int row);
    // The texts of a row of the block held, as many as the host gave (none for a row it left
    // out).
    const QStringList& row(int row) const;

private:
    host::CellRange blockFrom(int row) const;

    host::SpreadsheetHost& m_host;
    QString m_book;
    int m_sheet;
    host::CellPosition m_extent;
    host::CellTextKind m_kind;
    int m_firstRow = 0; // 0 before the first read
    QList<QStringList> m_rows;
};

} // namespace brelix::run
