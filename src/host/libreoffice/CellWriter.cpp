#include "host/libreoffice/CellWriter.h"

#include "core/host/CellBlocks.h"
#include "core/host/ColourPalette.h"
#include "core/host/HostError.h"
#include "host/libreoffice/OpenWorkbook.h"
#include "host/libreoffice/UnoHelpers.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetCellRangeContainer.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/table/BorderLineStyle.hpp>
#include <com/sun/star/table/TableBorder2.hpp>

namespace brelix::libreoffice {

using namespace css;
using host::CellPosition;
using host::CellRange;
using host::HostError;

namespace {

uno::Reference<beans::XPropertySet> rangeProps(const uno::Reference<sheet::XSpreadsheet>& sheet,
                                               const CellRange& r)
{
    return {cellRange(sheet, r), uno::UNO_QUERY_THROW};
}

uno::Any toAny(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
        return uno::Any(value.toDouble());
    default:
        // The data array never parses text: "=1+1" stays the text it is.
        return uno::Any(toOUString(value.toString()));
    }
}

// Colours never change a row's height, yet the office measures every row a change touches:
// for thousands of scattered cells that was most of the time spent colouring them. The
// measuring is held off for one change and back on afterwards, for the user's own editing.
class RowHeightsHeld {
public:
    explicit RowHeightsHeld(const uno::Reference<sheet::XSpreadsheetDocument>& document)
        : m_props(document, uno::UNO_QUERY)
    {
        set(false);
    }
    ~RowHeightsHeld() { set(true); }
    RowHeightsHeld(const RowHeightsHeld&) = delete;
    RowHeightsHeld& operator=(const RowHeightsHeld&) = delete;

private:
    void set(bool adjust)
    {
        try {
            if (m_props.is())
                m_props->setPropertyValue(OUString("IsAdjustHeightEnabled"), uno::Any(adjust));
        } catch (const uno::Exception&) {
            // A document without the setting is coloured at its own pace.
        }
    }

    uno::Reference<beans::XPropertySet> m_props;
};

// Sets a palette colour, or with NoColour takes the fill away.
void applyFill(const uno::Reference<sheet::XSpreadsheetDocument>& document,
               const uno::Reference<beans::XPropertySet>& props, int colourIndex)
{
    const bool clear = colourIndex == host::ColourPalette::NoColour;
    if (!clear && !host::ColourPalette::isValidIndex(colourIndex))
        throw HostError(HostError::Kind::General,
                        QStringLiteral("%1 is not a colour index").arg(colourIndex));
    const RowHeightsHeld held(document);
    if (clear)
        props->setPropertyValue(OUString("IsCellBackgroundTransparent"), uno::Any(true));
    else
        props->setPropertyValue(
            OUString("CellBackColor"),
            uno::Any(static_cast<sal_Int32>(host::ColourPalette::rgb(colourIndex))));
}

} // namespace

void CellWriter::writeRows(const uno::Reference<sheet::XSpreadsheet>& sheet, int topRow,
                           int leftColumn, const QList<QVariantList>& rows)
{
    qsizetype width = 0;
    for (const QVariantList& row : rows)
        width = std::max(width, row.size());
    if (rows.isEmpty() || width == 0)
        return;
    uno::Sequence<uno::Sequence<uno::Any>> data(rows.size());
    auto* out = data.getArray();
    for (qsizetype r = 0; r < rows.size(); ++r) {
        out[r].realloc(width);
        auto* cells = out[r].getArray();
        for (qsizetype c = 0; c < width; ++c)
            cells[c] = c < rows[r].size() ? toAny(rows[r][c]) : uno::Any(OUString());
    }
    const CellRange area{
        {topRow, leftColumn},
        {topRow + static_cast<int>(rows.size()) - 1, leftColumn + static_cast<int>(width) - 1}};
    const uno::Reference<sheet::XCellRangeData> target{rangeProps(sheet, area),
                                                       uno::UNO_QUERY_THROW};
    target->setDataArray(data);
}

void CellWriter::setWrapText(const uno::Reference<sheet::XSpreadsheet>& sheet, int row, int column,
                             bool wrap)
{
    rangeProps(sheet, {{row, column}, {row, column}})
        ->setPropertyValue(OUString("IsTextWrapped"), uno::Any(wrap));
}

void CellWriter::fillRange(const uno::Reference<sheet::XSpreadsheet>& sheet, const CellRange& range,
                           int colourIndex)
{
    applyFill(m_book.document, rangeProps(sheet, range), colourIndex);
}

void CellWriter::fillCells(const uno::Reference<sheet::XSpreadsheet>& sheet,
                           const QList<CellPosition>& cells, int colourIndex)
{
    if (cells.isEmpty())
        return;
    // One collection of the cells as rectangles takes the colour in one call.
    const uno::Reference<lang::XMultiServiceFactory> factory{m_book.document, uno::UNO_QUERY_THROW};
    const uno::Reference<sheet::XSheetCellRangeContainer> container{
        factory->createInstance(OUString("com.sun.star.sheet.SheetCellRanges")),
        uno::UNO_QUERY_THROW};
    const uno::Reference<sheet::XCellRangeAddressable> addressable{sheet, uno::UNO_QUERY_THROW};
    const sal_Int16 sheetIndex = addressable->getRangeAddress().Sheet;
    const QList<CellRange> blocks = host::cellBlocks(cells);
    uno::Sequence<table::CellRangeAddress> addresses(blocks.size());
    auto* out = addresses.getArray();
    for (qsizetype i = 0; i < blocks.size(); ++i)
        out[i] =
            table::CellRangeAddress(sheetIndex, blocks[i].first.column - 1, blocks[i].first.row - 1,
                                    blocks[i].last.column - 1, blocks[i].last.row - 1);
    container->addRangeAddresses(addresses, false);
    applyFill(m_book.document, uno::Reference<beans::XPropertySet>(container, uno::UNO_QUERY_THROW),
              colourIndex);
}

void CellWriter::drawGrid(const uno::Reference<sheet::XSpreadsheet>& sheet, const CellRange& range)
{
    table::BorderLine2 thin;
    thin.Color = 0;
    thin.LineStyle = table::BorderLineStyle::SOLID;
    thin.OuterLineWidth = 26; // 0.75 pt, the thin line of .xls files
    thin.LineWidth = 26;
    table::TableBorder2 border;
    border.TopLine = border.BottomLine = border.LeftLine = border.RightLine = thin;
    border.HorizontalLine = border.VerticalLine = thin;
    border.IsTopLineValid = border.IsBottomLineValid = true;
    border.IsLeftLineValid = border.IsRightLineValid = true;
    border.IsHorizontalLineValid = border.IsVerticalLineValid = true;
    rangeProps(sheet, range)->setPropertyValue(OUString("TableBorder2"), uno::Any(border));
}

} // namespace brelix::libreoffice
