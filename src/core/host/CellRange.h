#pragma once

namespace brelix::host {

// A cell by row and column, both from 1.
struct CellPosition {
    int row = 1;
    int column = 1;
    friend bool operator==(const CellPosition&, const CellPosition&) = default;
};

// A rectangle of cells by its top-left and bottom-right corners, inclusive.
struct CellRange {
    CellPosition first;
    CellPosition last;

    int rowCount() const { return last.row - first.row + 1; }
    int columnCount() const { return last.column - first.column + 1; }
    bool contains(const CellPosition& p) const
    {
        return p.row >= first.row && p.row <= last.row && p.column >= first.column &&
               p.column <= last.column;
    }
    friend bool operator==(const CellRange&, const CellRange&) = default;
};

} // namespace brelix::host
