#pragma once

#include <QDate>
#include <QString>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

namespace brelix::libreoffice {

// A workbook open in the office, as the host keeps it.
struct OpenWorkbook {
    QString name; // bare file name, the workbook's address
    QString path; // empty for a new workbook
    css::uno::Reference<css::frame::XModel> model;
    css::uno::Reference<css::sheet::XSpreadsheetDocument> document;
    QDate nullDate;
    bool placed = false; // given a place of its own, which maximising must not undo

    // Sheet by position from 1; HostError NotFound outside the workbook.
    css::uno::Reference<css::sheet::XSpreadsheet> sheet(int position) const;
    int sheetCount() const;
};

} // namespace brelix::libreoffice
