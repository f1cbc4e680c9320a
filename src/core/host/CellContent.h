#pragma once

#include <QString>

namespace brelix::host {

// What a cell holds, as every host reports it, before it becomes the text that runs compare.
struct CellContent {
    enum class Type { Empty, Number, Text, Boolean, Error };
    // How a number is formatted, as far as its text depends on it.
    enum class NumberStyle { General, Date, Time, DateTime };

    Type type = Type::Empty;
    double number = 0; // numbers, and booleans as 1 or 0
    QString text;      // text cells; error cells the error as the sheet shows it (#N/A)
    NumberStyle style = NumberStyle::General;
    QString formula; // "=..." in the user's grammar; empty for a constant

    static CellContent empty() { return {}; }
    static CellContent ofNumber(double v, NumberStyle s = NumberStyle::General)
    {
        return {Type::Number, v, {}, s, {}};
    }
    static CellContent ofText(const QString& t) { return {Type::Text, 0, t, {}, {}}; }
    static CellContent ofBoolean(bool b) { return {Type::Boolean, b ? 1.0 : 0.0, {}, {}, {}}; }
    static CellContent ofError(const QString& shown) { return {Type::Error, 0, shown, {}, {}}; }
};

} // namespace brelix::host
