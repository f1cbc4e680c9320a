#include "core/compare/KeyedRowMatcher.h"

#include <QHash>
#include <algorithm>

namespace brelix::compare {

namespace {

bool hasText(const QStringList& row)
{
    return std::any_of(row.begin(), row.end(), [](const QString& text) { return !text.isEmpty(); });
}

QStringList keyOf(const QStringList& row, const QList<int>& columns)
{
    QStringList key;
    key.reserve(columns.size());
    for (const int column : columns)
        key.append(row.value(column));
    return key;
}

} // namespace

QList<LinePair> KeyedRowMatcher::match(const SheetTexts& first, const SheetTexts& second,
                                       const QList<int>& firstKeyColumns,
                                       const QList<int>& secondKeyColumns)
{
    // The second sheet's rows by key, top to bottom; each first row takes the next one.
    QHash<QStringList, QList<int>> secondRows;
    for (int j = 0; j < second.size(); ++j) {
        if (hasText(second[j]))
            secondRows[keyOf(second[j], secondKeyColumns)].append(j);
    }
    QHash<QStringList, qsizetype> taken;
    QList<bool> paired(second.size(), false);
    QList<LinePair> pairs;
    for (int i = 0; i < first.size(); ++i) {
        if (!hasText(first[i]))
            continue;
        const QStringList key = keyOf(first[i], firstKeyColumns);
        const QList<int> candidates = secondRows.value(key);
        qsizetype& next = taken[key];
        if (next < candidates.size()) {
            const int j = candidates[next++];
            paired[j] = true;
            pairs.append({i, j});
        } else {
            pairs.append({i, -1});
        }
    }
    for (int j = 0; j < second.size(); ++j) {
        if (!paired[j] && hasText(second[j]))
            pairs.append({-1, j});
    }
    return pairs;
}

} // namespace brelix::compare
