#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace brelix::settings {

// When two cell texts count as equal to the user although they differ: each rule is off unless
// set, and with none set only the same texts are equal. Records always show the texts as they
// are in the cells; the rules only decide whether there is a record.
// Rows of a comparison pair by at most this many key columns.
inline constexpr int kMostKeyColumns = 5;

struct EqualityRules {
    bool ignoreCase = false;   // letters without case, Latin and full-width Latin alike
    bool ignoreWidth = false;  // texts as Unicode NFKC folds them (full-width, half-width kana)
    bool ignoreBlanks = false; // blanks at the start and end do not count
    // Texts that both read as decimal numbers are equal when at most this far apart.
    std::optional<double> tolerance;
    // Columns of the first sheet, from 1, that are not compared at all.
    QList<int> ignoredColumns;

    bool foldsTexts() const { return ignoreCase || ignoreWidth || ignoreBlanks; }
    bool isSet() const { return foldsTexts() || tolerance || !ignoredColumns.isEmpty(); }
    // The text as the folding rules see it: the one a key or a matching of rows goes by.
    QString folded(const QString& text) const;
    bool equal(const QString& first, const QString& second) const;
    bool ignoresColumn(int column) const { return ignoredColumns.contains(column); }
    // Whether a cell pair gives no record: equal texts, or a column of the first sheet that is
    // not compared (`firstColumn` from 1; 0 for a cell of the second sheet only).
    bool leaveOut(int firstColumn, const QString& first, const QString& second) const
    {
        return first == second || (firstColumn > 0 && ignoresColumn(firstColumn)) ||
               equal(first, second);
    }

    friend bool operator==(const EqualityRules&, const EqualityRules&) = default;
};

} // namespace brelix::settings
