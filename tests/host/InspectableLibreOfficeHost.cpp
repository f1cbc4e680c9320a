#include "InspectableLibreOfficeHost.h"

#include "core/host/ColourPalette.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/table/BorderLineStyle.hpp>

using namespace css;
using brelix::host::ColourPalette::NoColour;

namespace brelix::contract {

namespace {

uno::Reference<beans::XPropertySet> cellProperties(const libreoffice::OpenWorkbook& book, int sheet,
                                                   int row, int column)
{
    return {book.sheet(sheet)->getCellByPosition(column - 1, row - 1), uno::UNO_QUERY_THROW};
}

// The lowest palette index of exactly this colour; -1 for a colour outside the palette.
int paletteIndexOf(sal_Int32 rgb)
{
    for (int index = 1; index <= host::ColourPalette::Count; ++index)
        if (host::ColourPalette::rgb(index) ==
            static_cast<host::ColourPalette::Rgb>(rgb & 0xFFFFFF))
            return index;
    return -1;
}

} // namespace

int InspectableLibreOfficeHost::activeSheet(const QString& book)
{
    const uno::Reference<sheet::XSpreadsheetView> view{
        inspectWorkbook(book).model->getCurrentController(), uno::UNO_QUERY_THROW};
    const uno::Reference<sheet::XCellRangeAddressable> active{view->getActiveSheet(),
                                                              uno::UNO_QUERY_THROW};
    return active->getRangeAddress().Sheet + 1;
}

QString InspectableLibreOfficeHost::cellText(const QString& book, int sheet, int row, int column,
                                             host::CellTextKind kind)
{
    return rangeTexts(book, sheet, {{row, column}, {row, column}}, kind).value(0).value(0);
}

int InspectableLibreOfficeHost::cellColourIndex(const QString& book, int sheet, int row, int column)
{
    const auto cell = cellProperties(inspectWorkbook(book), sheet, row, column);
    sal_Int32 color = -1;
    bool transparent = false;
    cell->getPropertyValue("CellBackColor") >>= color;
    cell->getPropertyValue("IsCellBackgroundTransparent") >>= transparent;
    return transparent || color < 0 ? NoColour : paletteIndexOf(color);
}

support::CellBorders InspectableLibreOfficeHost::cellBorders(const QString& book, int sheet,
                                                             int row, int column)
{
    const auto cell = cellProperties(inspectWorkbook(book), sheet, row, column);
    const auto hasLine = [&](const char* edge) {
        table::BorderLine2 line;
        cell->getPropertyValue(OUString::createFromAscii(edge)) >>= line;
        return line.LineStyle != table::BorderLineStyle::NONE &&
               (line.OuterLineWidth > 0 || line.InnerLineWidth > 0 || line.LineWidth > 0);
    };
    return {hasLine("LeftBorder2"), hasLine("TopBorder2"), hasLine("RightBorder2"),
            hasLine("BottomBorder2")};
}

} // namespace brelix::contract
