#pragma once

#include "SheetContent.h"
#include "core/host/SpreadsheetHost.h"

#include <QString>

namespace brelix::support {

// What tests look at in a host's instance beyond what the runs ask of it: which workbook and
// sheet are active, one cell's text, fill and edges. Looking changes nothing, and the in-memory
// host neither records it as a call nor fails it on request.
class HostProbe {
public:
    virtual ~HostProbe() = default;

    virtual QString activeWorkbook() = 0;
    virtual int activeSheet(const QString& book) = 0;
    virtual QString cellText(const QString& book, int sheet, int row, int column,
                             host::CellTextKind kind) = 0;
    // A palette index; NoColour for no fill, -1 for a colour outside the palette.
    virtual int cellColourIndex(const QString& book, int sheet, int row, int column) = 0;
    virtual CellBorders cellBorders(const QString& book, int sheet, int row, int column) = 0;
};

} // namespace brelix::support
