#include "GridWorkbooks.h"

namespace brelix::support {

SheetContent gridSheet(const QString& name, int rows, int columns,
                       const QList<std::pair<int, int>>& changed)
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

WorkbookContent workbookOf(const QList<SheetContent>& sheets)
{
    WorkbookContent book;
    book.sheets = sheets;
    return book;
}

} // namespace brelix::support
