#pragma once

#include "core/host/CellRange.h"
#include "host/libreoffice/UnoStrings.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/sheet/XFormulaParser.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <vector>

// Small pieces every caller of the office API needs.
namespace brelix::libreoffice {

inline css::beans::PropertyValue property(const char* name, const css::uno::Any& value)
{
    css::beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

inline css::uno::Sequence<css::beans::PropertyValue>
properties(const std::vector<css::beans::PropertyValue>& list)
{
    return css::uno::Sequence<css::beans::PropertyValue>(list.data(),
                                                         static_cast<sal_Int32>(list.size()));
}

// Our ranges count from 1, the office's from 0.
inline css::uno::Reference<css::table::XCellRange>
cellRange(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet, const host::CellRange& r)
{
    return sheet->getCellRangeByPosition(r.first.column - 1, r.first.row - 1, r.last.column - 1,
                                         r.last.row - 1);
}

// A parser of formulas as a spreadsheet user writes them: English function names, "," between
// arguments, A1 references and Sheet!A1 for other sheets.
css::uno::Reference<css::sheet::XFormulaParser>
userFormulaParser(const css::uno::Reference<css::sheet::XSpreadsheetDocument>& document);

} // namespace brelix::libreoffice
