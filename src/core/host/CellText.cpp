#include "core/host/CellText.h"

#include <QDateTime>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace brelix::host {

QDate defaultNullDate()
{
    return QDate(1899, 12, 30);
}

QString generalNumberText(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return QStringLiteral("#NUM!");
    if (value == 0)
        return QStringLiteral("0"); // no "-0"
    char buffer[64];
    // Whole numbers below 1E+15, the most common by far, print as %.15G prints them, only faster.
    if (std::abs(value) < 1e15 && value == std::trunc(value)) {
        const auto end =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value)).ptr;
        return QString::fromLatin1(buffer, end - buffer);
    }
    // As %.15G: the exponent below 1E-4 and from 1E+15 on, no trailing zeros, at least two
    // exponent digits (1E+20, 1E-05). to_chars rather than printf, whose decimal point follows
    // the locale a Qt program takes from the environment.
    char* const end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    std::replace(buffer, end, 'e', 'E');
    return QString::fromLatin1(buffer, end - buffer);
}

QString dateTimeText(double serial, CellContent::NumberStyle style, const QDate& nullDate)
{
    // Far out of range the day count would overflow below; close to it the years have no
    // four-digit form. No sheet shows such a date; its number says more than a wrapped one.
    if (!(std::abs(serial) < 4e6))
        return generalNumberText(serial);
    // Round to whole seconds first, so 0.99999999 of a day is the next midnight.
    const qint64 seconds = std::llround(serial * 86400.0);
    qint64 days = seconds / 86400;
    qint64 secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        days -= 1;
    }
    const QDate date = nullDate.addDays(days);
    if (date.year() < 1 || date.year() > 9999)
        return generalNumberText(serial);
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(secondOfDay));
    const QString dateText = date.toString(QStringLiteral("yyyy/MM/dd"));
    const QString timeText = time.toString(QStringLiteral("hh:mm:ss"));

    if (style == CellContent::NumberStyle::Time || (days == 0 && secondOfDay != 0))
        return days == 0 ? timeText : dateText + QLatin1Char(' ') + timeText;
    if (secondOfDay == 0)
        return dateText;
    return dateText + QLatin1Char(' ') + timeText;
}

QString valueText(const CellContent& cell, const QDate& nullDate)
{
    switch (cell.type) {
    case CellContent::Type::Empty:
        return {};
    case CellContent::Type::Text:
    case CellContent::Type::Error:
        return cell.text;
    case CellContent::Type::Boolean:
        return cell.number != 0 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case CellContent::Type::Number:
        break;
    }
    if (cell.style == CellContent::NumberStyle::General)
        return generalNumberText(cell.number);
    return dateTimeText(cell.number, cell.style, nullDate);
}

QString formulaText(const CellContent& cell, const QDate& nullDate)
{
    return cell.formula.isEmpty() ? valueText(cell, nullDate) : cell.formula;
}

} // namespace brelix::host
