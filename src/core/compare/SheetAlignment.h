#pragma once

#include "core/compare/LinePair.h"

#include <QList>
#include <QStringList>

namespace brelix::compare {

// The texts of one sheet, row by row from row 1; a row may hold fewer texts than the sheet has
// columns (the rest are empty).
using SheetTexts = QList<QStringList>;

// Which rows and which columns of two sheets correspond, by their content. Columns are matched
// first by the texts they hold whatever their rows, rows over the columns found, and the columns
// once more cell by cell over the rows found, so that inserted rows do not hide inserted columns
// and the reverse.
class SheetAlignment {
public:
    SheetAlignment(const SheetTexts& first, const SheetTexts& second, int columns);

    const QList<LinePair>& rows() const { return m_rows; }
    const QList<LinePair>& columns() const { return m_columns; }

private:
    QList<LinePair> matchRows(const QList<LinePair>& columns) const;
    QList<LinePair> matchColumns(const QList<LinePair>& rows) const;
    QList<LinePair> matchColumnsByTexts() const;
    QList<LinePair> matchLines(bool rows, qsizetype firstCount, qsizetype secondCount,
                               const QList<LinePair>& acrossPairs) const;

    const SheetTexts& m_first;
    const SheetTexts& m_second;
    int m_columnCount;
    QList<LinePair> m_rows;
    QList<LinePair> m_columns;
};

} // namespace brelix::compare
