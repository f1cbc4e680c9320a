#include "WorkbookContent.h"

namespace brelix::support {

SheetContent& WorkbookContent::addSheet(const QString& name)
{
    SheetContent sheet;
    sheet.name = name;
    sheets.append(sheet);
    return sheets.last();
}

WorkbookContent WorkbookContent::withSheets(const QStringList& names)
{
    WorkbookContent book;
    for (const QString& name : names)
        book.addSheet(name);
    return book;
}

} // namespace brelix::support
