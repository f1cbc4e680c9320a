#include "CellText.h"

#include <QDateTime>

#include <cmath>
#include <cstdio>

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
    // %G switches to the exponent below 1E-4 and from 1E+15 on, and drops trailing zeros.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    QString text = QString::fromLatin1(buffer);
    // C writes at least two exponent digits (1E+20, 1E-05) as the general format does, but
    // 1E+100 keeps three; nothing to change there.
    return text;
}

QString dateTimeText(double serial, CellContent::NumberStyle style, const QDate& nullDate)
{
    // Round to whole seconds first, so 0.99999999 of a day is the next midnight.
    const qint64 seconds = std::llround(serial * 86400.0);
    qint64 days = seconds / 86400;
    qint64 secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        days -= 1;
    }
    const QDate date = nullDate.addDays(days);
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
    if (cell.style == CellContent::NumberStyle::General || !std::isfinite(cell.number))
        return generalNumberText(cell.number);
    return dateTimeText(cell.number, cell.style, nullDate);
}

QString formulaText(const CellContent& cell, const QDate& nullDate)
{
    return cell.formula.isEmpty() ? valueText(cell, nullDate) : cell.formula;
}

} // namespace brelix::host
