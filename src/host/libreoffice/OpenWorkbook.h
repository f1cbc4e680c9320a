#pragma once

#include "core/host/WindowGeometry.h"

#include <QDate>
#include <QString>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <optional>

namespace brelix::libreoffice {

// A workbook open in the office, as the host keeps it.
struct OpenWorkbook {
    QString name;       // bare file name, the workbook's address
    QString path;       // absolute
    QString filterName; // the office's reader and writer of its kind
    css::uno::Reference<css::frame::XModel> model;
    css::uno::Reference<css::sheet::XSpreadsheetDocument> document;
    QDate nullDate;
    // The place given to the window, in points. A hidden window does not keep a place of its
    // own, so the host keeps it and puts the window there when it is shown.
    std::optional<host::WindowGeometry> placement;

    // Sheet by position from 1; HostError NotFound outside the workbook.
    css::uno::Reference<css::sheet::XSpreadsheet> sheet(int position) const;
    int sheetCount() const;
};

} // namespace brelix::libreoffice
