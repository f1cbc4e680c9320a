#pragma once

#include "core/host/CellContent.h"
#include "core/host/CellRange.h"
#include "core/host/SpreadsheetHost.h"
#include "host/libreoffice/UnoStrings.h"

#include <QDate>
#include <QHash>
#include <com/sun/star/sheet/XFormulaParser.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>

namespace brelix::libreoffice {

struct OpenWorkbook;

// Reads rectangles of cells in a handful of calls whatever their size: the data in one call,
// the number formats by groups of equal format, and per cell only for formulas (by formula)
// and error values (their shown text).
class CellReader {
public:
    explicit CellReader(const OpenWorkbook& book);

    QList<QList<host::CellContent>> read(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet,
                                         const host::CellRange& range, host::CellTextKind kind);

private:
    using Grid = QList<QList<host::CellContent>>;
    void applyNumberStyles(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet,
                           const host::CellRange& range, Grid& grid);
    void readErrorTexts(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet,
                        const host::CellRange& range, Grid& grid);
    void findBooleanResults(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet,
                            const host::CellRange& range,
                            const css::uno::Reference<css::sheet::XSheetCellRanges>& formulas,
                            Grid& grid);
    void readFormulas(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet,
                      const host::CellRange& range,
                      const css::uno::Reference<css::sheet::XSheetCellRanges>& formulas,
                      Grid& grid);
    host::CellContent::NumberStyle styleOfFormat(sal_Int32 key, bool* isBoolean);

    const OpenWorkbook& m_book;
    css::uno::Reference<css::util::XNumberFormats> m_formats;
    css::uno::Reference<css::sheet::XFormulaParser> m_parser;
    QHash<sal_Int32, int> m_formatKinds; // key -> style, or -1 for a boolean format
};

} // namespace brelix::libreoffice
