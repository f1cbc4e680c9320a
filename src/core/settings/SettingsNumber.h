#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace brelix::settings {

// The number a settings value starts with: an optional sign, digits with an optional decimal
// point and an optional exponent ("1.5E2"); blanks anywhere inside are skipped. 0 when the
// value starts with no number; an exponent too large gives an infinity.
double leadingNumber(QStringView value);

// leadingNumber rounded to a whole number, halves to even, as the settings keys take it.
double settingsNumber(QStringView value);

// The most by which two numbers may differ and still be equal: a decimal number, 0 or more.
std::optional<double> toleranceOf(const QString& text);
// The tolerance as toleranceOf reads it back: its shortest decimal, never with an exponent.
QString toleranceText(double tolerance);

} // namespace brelix::settings
