#pragma once

#include "core/host/CellContent.h"
#include "core/host/ColourPalette.h"

#include <QString>
#include <map>
#include <utility>

namespace brelix::support {

// Which edges of one cell carry a continuous line.
struct CellBorders {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    friend bool operator==(const CellBorders&, const CellBorders&) = default;
};

// (row, column), both from 1; ordered row by row.
using CellKey = std::pair<int, int>;

// One worksheet as plain data.
struct SheetContent {
    QString name;
    bool visible = true;
    bool isProtected = false;
    QString password;
    std::map<CellKey, host::CellContent> cells; // never holds an empty cell
    std::map<CellKey, int> fills;               // palette indexes, never NoColour
    std::map<CellKey, CellBorders> borders;

    // An empty content removes the cell.
    void setCell(int row, int column, const host::CellContent& content)
    {
        if (content.type == host::CellContent::Type::Empty && content.formula.isEmpty())
            cells.erase({row, column});
        else
            cells[{row, column}] = content;
    }
    host::CellContent cell(int row, int column) const
    {
        const auto it = cells.find({row, column});
        return it == cells.end() ? host::CellContent::empty() : it->second;
    }
    int fill(int row, int column) const
    {
        const auto it = fills.find({row, column});
        return it == fills.end() ? host::ColourPalette::NoColour : it->second;
    }
    CellBorders border(int row, int column) const
    {
        const auto it = borders.find({row, column});
        return it == borders.end() ? CellBorders{} : it->second;
    }
};

} // namespace brelix::support
