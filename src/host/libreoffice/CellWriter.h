#pragma once

#include "core/host/CellRange.h"

#include <QList>
#include <QVariant>
#include <com/sun/star/sheet/XSpreadsheet.hpp>

namespace brelix::libreoffice {

struct OpenWorkbook;

// Writes values and styles cells, many cells per call.
class CellWriter {
public:
    explicit CellWriter(const OpenWorkbook& book) : m_book(book) {}

    void writeRows(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet, int topRow,
                   int leftColumn, const QList<QVariantList>& rows);
    void setWrapText(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet, int row,
                     int column, bool wrap);
    void fillRange(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet,
                   const host::CellRange& range, int colourIndex);
    void fillCells(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet,
                   const QList<host::CellPosition>& cells, int colourIndex);
    void drawGrid(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet,
                  const host::CellRange& range);

private:
    const OpenWorkbook& m_book;
};

} // namespace brelix::libreoffice
