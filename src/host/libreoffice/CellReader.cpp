#include "host/libreoffice/CellReader.h"

#include "host/libreoffice/OpenWorkbook.h"
#include "host/libreoffice/UnoHelpers.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/AddressConvention.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/FormulaLanguage.hpp>
#include <com/sun/star/sheet/FormulaMapGroup.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XFormulaOpCodeMapper.hpp>
#include <com/sun/star/sheet/XFormulaTokens.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XUniqueCellFormatRangesSupplier.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

namespace brelix::libreoffice {

using namespace css;
using host::CellContent;
using host::CellRange;

namespace {

// Calls fn(row, column) for every cell, relative to the range, of the given addresses.
template <typename Fn>
void forEachCell(const uno::Reference<sheet::XSheetCellRanges>& ranges, const CellRange& within,
                 Fn fn)
{
    const uno::Sequence<table::CellRangeAddress> addresses = ranges->getRangeAddresses();
    // The office may answer with ranges reaching past the rectangle asked about.
    for (const table::CellRangeAddress& a : addresses)
        for (sal_Int32 r = std::max(a.StartRow + 1, within.first.row);
             r <= std::min(a.EndRow + 1, within.last.row); ++r)
            for (sal_Int32 c = std::max(a.StartColumn + 1, within.first.column);
                 c <= std::min(a.EndColumn + 1, within.last.column); ++c)
                fn(r - within.first.row, c - within.first.column);
}

constexpr int kBooleanFormat = -1;

} // namespace

CellReader::CellReader(const OpenWorkbook& book) : m_book(book)
{
    const uno::Reference<util::XNumberFormatsSupplier> supplier{book.document,
                                                                uno::UNO_QUERY_THROW};
    m_formats = supplier->getNumberFormats();
}

QList<QList<CellContent>> CellReader::read(const uno::Reference<sheet::XSpreadsheet>& sheet,
                                           const CellRange& range, host::CellTextKind kind)
{
    const uno::Reference<sheet::XCellRangeData> data{cellRange(sheet, range), uno::UNO_QUERY_THROW};
    const uno::Sequence<uno::Sequence<uno::Any>> rows = data->getDataArray();

    Grid grid;
    grid.reserve(rows.getLength());
    bool hasNumbers = false;
    bool hasTruthCandidates = false; // a number 0 or 1, which a formula may give as FALSE or TRUE
    bool hasErrors = false;
    for (const uno::Sequence<uno::Any>& row : rows) {
        QList<CellContent>& out = grid.emplace_back();
        out.reserve(row.getLength());
        for (const uno::Any& value : row) {
            double number = 0;
            OUString text;
            if (value >>= number) {
                out.append(CellContent::ofNumber(number));
                hasNumbers = true;
                hasTruthCandidates = hasTruthCandidates || number == 0 || number == 1;
            } else if (value >>= text) {
                out.append(text.isEmpty() ? CellContent::empty()
                                          : CellContent::ofText(toQString(text)));
            } else {
                // The data array leaves error values void.
                out.append(CellContent::ofError({}));
                hasErrors = true;
            }
        }
    }
    if (hasNumbers)
        applyNumberStyles(sheet, range, grid);
    if (hasErrors)
        readErrorTexts(sheet, range, grid);
    // Finding the formulas costs the office a pass over the cells; by value they matter only
    // for truth values.
    if (hasTruthCandidates || kind == host::CellTextKind::Formula) {
        const uno::Reference<sheet::XCellRangesQuery> query{cellRange(sheet, range),
                                                            uno::UNO_QUERY_THROW};
        const uno::Reference<sheet::XSheetCellRanges> formulas =
            query->queryContentCells(sheet::CellFlags::FORMULA);
        if (formulas->hasElements()) {
            if (hasTruthCandidates)
                findBooleanResults(sheet, range, formulas, grid);
            if (kind == host::CellTextKind::Formula)
                readFormulas(sheet, range, formulas, grid);
        }
    }
    return grid;
}

void CellReader::applyNumberStyles(const uno::Reference<sheet::XSpreadsheet>& sheet,
                                   const CellRange& range, Grid& grid)
{
    const uno::Reference<sheet::XUniqueCellFormatRangesSupplier> supplier{cellRange(sheet, range),
                                                                          uno::UNO_QUERY_THROW};
    const uno::Reference<container::XIndexAccess> groups = supplier->getUniqueCellFormatRanges();
    for (sal_Int32 i = 0, n = groups->getCount(); i < n; ++i) {
        const uno::Reference<sheet::XSheetCellRanges> group{groups->getByIndex(i),
                                                            uno::UNO_QUERY_THROW};
        const uno::Reference<beans::XPropertySet> props{group, uno::UNO_QUERY_THROW};
        sal_Int32 key = 0;
        props->getPropertyValue(OUString("NumberFormat")) >>= key;
        bool isBoolean = false;
        const CellContent::NumberStyle style = styleOfFormat(key, &isBoolean);
        if (style == CellContent::NumberStyle::General && !isBoolean)
            continue;
        forEachCell(group, range, [&](int r, int c) {
            CellContent& cell = grid[r][c];
            if (cell.type != CellContent::Type::Number)
                return;
            if (isBoolean)
                cell = CellContent::ofBoolean(cell.number != 0);
            else
                cell.style = style;
        });
    }
}

CellContent::NumberStyle CellReader::styleOfFormat(sal_Int32 key, bool* isBoolean)
{
    auto it = m_formatKinds.constFind(key);
    if (it == m_formatKinds.cend()) {
        sal_Int16 type = 0;
        try {
            m_formats->getByKey(key)->getPropertyValue(OUString("Type")) >>= type;
        } catch (const uno::Exception&) {
        }
        int kindOf = static_cast<int>(CellContent::NumberStyle::General);
        if (type & util::NumberFormat::LOGICAL)
            kindOf = kBooleanFormat;
        else if ((type & util::NumberFormat::DATETIME) == util::NumberFormat::DATETIME)
            kindOf = static_cast<int>(CellContent::NumberStyle::DateTime);
        else if (type & util::NumberFormat::DATE)
            kindOf = static_cast<int>(CellContent::NumberStyle::Date);
        else if (type & util::NumberFormat::TIME)
            kindOf = static_cast<int>(CellContent::NumberStyle::Time);
        it = m_formatKinds.insert(key, kindOf);
    }
    *isBoolean = *it == kBooleanFormat;
    return *isBoolean ? CellContent::NumberStyle::General
                      : static_cast<CellContent::NumberStyle>(*it);
}

void CellReader::readErrorTexts(const uno::Reference<sheet::XSpreadsheet>& sheet,
                                const CellRange& range, Grid& grid)
{
    for (int r = 0; r < grid.size(); ++r)
        for (int c = 0; c < grid[r].size(); ++c)
            if (grid[r][c].type == CellContent::Type::Error) {
                const uno::Reference<text::XText> shown{
                    sheet->getCellByPosition(range.first.column - 1 + c, range.first.row - 1 + r),
                    uno::UNO_QUERY_THROW};
                grid[r][c].text = toQString(shown->getString());
            }
}

// A formula whose result is a truth value keeps the sheet's general format: the office knows
// the result is boolean only from the formula. Candidates are few: results of exactly 0 or 1.
void CellReader::findBooleanResults(const uno::Reference<sheet::XSpreadsheet>& sheet,
                                    const CellRange& range,
                                    const uno::Reference<sheet::XSheetCellRanges>& formulas,
                                    Grid& grid)
{
    forEachCell(formulas, range, [&](int r, int c) {
        CellContent& cell = grid[r][c];
        if (cell.type != CellContent::Type::Number ||
            cell.style != CellContent::NumberStyle::General ||
            (cell.number != 0 && cell.number != 1))
            return;
        const uno::Reference<table::XCell> formulaCell =
            sheet->getCellByPosition(range.first.column - 1 + c, range.first.row - 1 + r);
        const uno::Reference<text::XText> shown{formulaCell, uno::UNO_QUERY_THROW};
        // Boolean constants of .xls files arrive as the formulas TRUE() and FALSE(); the
        // formula is asked for only when the shown text did not settle it.
        const OUString text = shown->getString();
        bool isBoolean = text.equalsIgnoreAsciiCase("TRUE") || text.equalsIgnoreAsciiCase("FALSE");
        if (!isBoolean) {
            const OUString formula = formulaCell->getFormula();
            isBoolean = formula == "=TRUE()" || formula == "=FALSE()";
        }
        if (isBoolean)
            cell = CellContent::ofBoolean(cell.number != 0);
    });
}

void CellReader::readFormulas(const uno::Reference<sheet::XSpreadsheet>& sheet,
                              const CellRange& range,
                              const uno::Reference<sheet::XSheetCellRanges>& formulas, Grid& grid)
{
    if (!m_parser.is())
        m_parser = userFormulaParser(m_book.document);
    const sal_Int16 sheetIndex = [&] {
        const uno::Reference<sheet::XCellRangeAddressable> a{sheet, uno::UNO_QUERY_THROW};
        return a->getRangeAddress().Sheet;
    }();
    forEachCell(formulas, range, [&](int r, int c) {
        const sal_Int32 column = range.first.column - 1 + c;
        const sal_Int32 row = range.first.row - 1 + r;
        const uno::Reference<sheet::XFormulaTokens> tokens{sheet->getCellByPosition(column, row),
                                                           uno::UNO_QUERY_THROW};
        const OUString printed = m_parser->printFormula(
            tokens->getTokens(), table::CellAddress(sheetIndex, column, row));
        // An error constant is stored as a formula of no tokens, and a boolean constant of an
        // .xls file as TRUE() or FALSE(): they read as the constants they are.
        if (printed.isEmpty() || printed == "TRUE()" || printed == "FALSE()")
            return;
        QString formula = toQString(printed);
        if (!formula.startsWith(QLatin1Char('=')))
            formula.prepend(QLatin1Char('='));
        grid[r][c].formula = formula;
    });
}

} // namespace brelix::libreoffice
