#pragma once

#include "core/host/CellContent.h"

#include <QDate>
#include <QString>

// The two texts a cell is compared and searched by. Every host goes through these functions,
// so two workbooks read by different hosts still compare equal where their cells are.
namespace brelix::host {

// 1899-12-30: serial 0 of the usual date system; workbooks in the 1904 system give their own.
QDate defaultNullDate();

// Numbers in general form: up to 15 significant digits, "." as decimal point, no grouping,
// exponent form (1E+20, 1E-05) outside the range plain digits read well.
QString generalNumberText(double value);

// A date serial as yyyy/mm/dd, hh:mm:ss or yyyy/mm/dd hh:mm:ss, by what the value holds;
// outside the years 1-9999 as a general number.
QString dateTimeText(double serial, CellContent::NumberStyle style, const QDate& nullDate);

// The text by value: text as it is, numbers as above, TRUE/FALSE, errors as shown, "" if empty.
QString valueText(const CellContent& cell, const QDate& nullDate = defaultNullDate());

// The text by formula: the formula with its "=", or for a constant its value text.
QString formulaText(const CellContent& cell, const QDate& nullDate = defaultNullDate());

} // namespace brelix::host
