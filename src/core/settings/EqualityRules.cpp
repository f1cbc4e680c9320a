#include "core/settings/EqualityRules.h"

#include <QRegularExpression>
#include <algorithm>
#include <cfloat>
#include <cmath>

namespace brelix::settings {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == QChar(0x3000);
}

// Whole decimal numbers only: "1", "-0.5", ".5", "1E+20"; no thousands separators, no "inf".
std::optional<double> decimalNumber(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral(R"(\A[+-]?(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?\z)"));
    if (text.isEmpty() || !number.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

QString EqualityRules::folded(const QString& text) const
{
    QString result = ignoreWidth ? text.normalized(QString::NormalizationForm_KC) : text;
    if (ignoreBlanks) {
        qsizetype begin = 0, end = result.size();
        while (begin < end && isBlank(result.at(begin)))
            ++begin;
        while (end > begin && isBlank(result.at(end - 1)))
            --end;
        result = result.mid(begin, end - begin);
    }
    return ignoreCase ? result.toCaseFolded() : result;
}

bool EqualityRules::equal(const QString& first, const QString& second) const
{
    if (first == second)
        return true;
    const QString a = foldsTexts() ? folded(first) : first;
    const QString b = foldsTexts() ? folded(second) : second;
    if (a == b)
        return true;
    if (!tolerance)
        return false;
    const std::optional<double> x = decimalNumber(a), y = decimalNumber(b);
    if (!x || !y)
        return false;
    // The tolerance as typed, so that 1.01 against 1.00 is within 0.01 although their binary
    // difference is a hair above it.
    const double slack = 4 * DBL_EPSILON * std::max({std::abs(*x), std::abs(*y), *tolerance});
    return std::abs(*x - *y) <= *tolerance + slack;
}

} // namespace brelix::settings
