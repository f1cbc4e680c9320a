#pragma once

#include "core/host/WindowGeometry.h"

#include <QDate>
#include <QString>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <optional>
#include <vector>

namespace brelix::libreoffice {

// A workbook open in the office, as the host keeps it.
struct OpenWorkbook {
    QString name;       // bare file name, the workbook's address
    QString path;       // absolute
    QString filterName; // the office's reader and writer of its kind
    css::uno::Reference<css::frame::XModel> model;
    css::uno::Reference<css::sheet::XSpreadsheetDocument> document;
    QDate nullDate;
    bool windowless = false; // opened unseen: no frame, never shown
    // The place given to the window, in points. A hidden window does not keep a place of its
    // own, so the host keeps it and puts the window there when it is shown.
    std::optional<host::WindowGeometry> placement;

    // Sheet by position from 1; HostError NotFound outside the workbook. Each sheet is looked
    // up once, as a lookup costs four round trips to the office; only the host changes the
    // sheets of a workbook it keeps hidden, and it calls forgetSheets() when it does.
    css::uno::Reference<css::sheet::XSpreadsheet> sheet(int position) const;
    int sheetCount() const;
    void forgetSheets() const;
    // The view of the workbook's window, looked up once.
    css::uno::Reference<css::sheet::XSpreadsheetView> view() const;

private:
    void knowSheets() const;

    mutable css::uno::Reference<css::container::XIndexAccess> m_sheetList;
    // One per sheet once known (a workbook has one at least), null until looked up.
    mutable std::vector<css::uno::Reference<css::sheet::XSpreadsheet>> m_sheets;
    mutable css::uno::Reference<css::sheet::XSpreadsheetView> m_view;
};

} // namespace brelix::libreoffice
