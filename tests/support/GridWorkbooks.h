#pragma once

#include "WorkbookContent.h"

#include <QList>
#include <utility>

namespace brelix::support {

// A sheet of rows x columns whose cells hold "r,c", with the given cells holding "changed".
SheetContent gridSheet(const QString& name, int rows, int columns,
                       const QList<std::pair<int, int>>& changed = {});

// A workbook of these sheets, in this order.
WorkbookContent workbookOf(const QList<SheetContent>& sheets);

} // namespace brelix::support
