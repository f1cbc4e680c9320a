#include "core/settings/SettingsNumber.h"

#include <QLocale>
#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace brelix::settings {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The characters of the leading number with the blanks taken out.
std::string numberCharacters(QStringView value)
{
    std::string kept;
    for (const QChar c : value) {
        if (c == u' ')
            continue;
        if (c.unicode() > 0x7f)
            break;
        kept += static_cast<char>(c.unicode());
    }
    std::string number;
    size_t i = 0;
    if (i < kept.size() && (kept[i] == '+' || kept[i] == '-'))
        number += kept[i++];
    bool digits = false;
    for (; i < kept.size() && isDigit(kept[i]); ++i, digits = true)
        number += kept[i];
    if (i < kept.size() && kept[i] == '.') {
        number += kept[i++];
        for (; i < kept.size() && isDigit(kept[i]); ++i, digits = true)
            number += kept[i];
    }
    if (!digits)
        return {};
    // An exponent counts only when digits follow it: "1E" is 1.
    size_t e = i;
    if (e < kept.size() && (kept[e] == 'E' || kept[e] == 'e')) {
        std::string exponent = "e";
        ++e;
        if (e < kept.size() && (kept[e] == '+' || kept[e] == '-'))
            exponent += kept[e++];
        if (e < kept.size() && isDigit(kept[e])) {
            for (; e < kept.size() && isDigit(kept[e]); ++e)
                exponent += kept[e];
            number += exponent;
        }
    }
    return number;
}

} // namespace

double leadingNumber(QStringView value)
{
    std::string number = numberCharacters(value);
    if (number.empty())
        return 0;
    const bool negative = number.front() == '-';
    if (number.front() == '+' || negative)
        number.erase(0, 1);
    double result = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), result);
    if (error == std::errc::result_out_of_range) {
        // Too small rounds to 0 anyway; too large must not pass a range test.
        const bool tiny = number.find("e-") != std::string::npos;
        result = tiny ? 0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -result : result;
}

double settingsNumber(QStringView value)
{
    // The default rounding mode rounds halves to even.
    return std::nearbyint(leadingNumber(value));
}

std::optional<double> toleranceOf(const QString& text)
{
    static const QRegularExpression decimal(
        QStringLiteral(R"(\A\s*(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?\s*\z)"));
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!decimal.match(text).hasMatch() || !ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString toleranceText(double tolerance)
{
    return QString::number(tolerance, 'f', QLocale::FloatingPointShortest);
}

} // namespace brelix::settings
