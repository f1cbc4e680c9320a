#pragma once

#include "WorkbookContent.h"

#include <QList>
#include <utility>

namespace brelix::support {

// A sheet of rows x columns whose cells hold "r,c", with the given cells holding "changed".
inline SheetContent gridSheet(const QString& name, int rows, int columns,
                              const QList<std::pair<int, int>>& changed = {})
{
    SheetContent sheet;
    sheet.name = name;
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c)
            sheet.setCell(r, c, host::CellContent::ofText(QStringLiteral("%1,%2").arg(r).arg(c)));
    for (const auto& [r, c] : changed)
        sheet.setCell(r, c, host::CellContent::ofText(QStringLiteral("changed")));
    return sheet;
}

// A workbook of these sheets, in this order.
inline WorkbookContent workbookOf(const QList<SheetContent>& sheets)
{
    return {sheets};
}

} // namespace brelix::support
