#include "SheetContent.h"

#include "core/host/ColorPalette.h"

namespace brelix::support {

void SheetContent::setCell(int row, int column, const host::CellContent& content)
{
    if (content.type == host::CellContent::Type::Empty && content.formula.isEmpty())
        cells.erase({row, column});
    else
        cells[{row, column}] = content;
}

host::CellContent SheetContent::cell(int row, int column) const
{
    const auto it = cells.find({row, column});
    return it == cells.end() ? host::CellContent::empty() : it->second;
}

int SheetContent::fill(int row, int column) const
{
    const auto it = fills.find({row, column});
    return it == fills.end() ? host::ColorPalette::NoColor : it->second;
}

CellBorders SheetContent::border(int row, int column) const
{
    const auto it = borders.find({row, column});
    return it == borders.end() ? CellBorders{} : it->second;
}

} // namespace brelix::support
