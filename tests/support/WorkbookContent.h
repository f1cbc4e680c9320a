#pragma once

#include "SheetContent.h"
#include "core/host/CellText.h"

#include <QDate>
#include <QList>

namespace brelix::support {

// A whole workbook as plain data: what a file holds, for the in-memory host and for writing
// real files in the host tests.
struct WorkbookContent {
    QList<SheetContent> sheets;
    int activeSheet = 1;
    QDate nullDate = host::defaultNullDate(); // 1904-01-01 in the 1904 date system

    // The reference stays valid until the next sheet is added.
    SheetContent& addSheet(const QString& name)
    {
        sheets.append(SheetContent());
        sheets.last().name = name;
        return sheets.last();
    }
    // A workbook of empty visible sheets with these names.
    static WorkbookContent withSheets(const QStringList& names)
    {
        WorkbookContent book;
        for (const QString& name : names)
            book.addSheet(name);
        return book;
    }
};

} // namespace brelix::support
