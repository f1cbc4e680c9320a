#include "core/compare/SheetAlignment.h"

#include "core/compare/SequenceMatcher.h"

#include <QHash>
#include <algorithm>

namespace brelix::compare {

namespace {

// A column as the sorted hashes of its non-empty cells' texts: unlike its cells row by row, this
// stays the same when rows are inserted or deleted.
std::vector<size_t> sortedTexts(const SheetTexts& texts, int column)
{
    std::vector<size_t> values;
    for (const QStringList& row : texts)
        if (column < row.size() && !row[column].isEmpty())
            values.push_back(qHash(row[column]));
    std::sort(values.begin(), values.end());
    return values;
}

// How many texts two such columns have in common, repeats counted.
size_t commonTexts(const std::vector<size_t>& a, const std::vector<size_t>& b)
{
    size_t common = 0;
    for (size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        if (a[i] < b[j])
            ++i;
        else if (b[j] < a[i])
            ++j;
        else
            ++common, ++i, ++j;
    }
    return common;
}

QList<LinePair> bothSides(const QList<LinePair>& pairs)
{
    QList<LinePair> kept;
    for (const LinePair& p : pairs)
        if (!p.deleted() && !p.inserted())
            kept.append(p);
    return kept;
}

// A line is the cells of one row (or column) at the given places of the other direction.
struct Line {
    const SheetTexts& texts;
    bool isRow;
    int index;

    // By reference: the alignment reads every cell several times.
    const QString& at(int other) const
    {
        static const QString empty;
        const int row = isRow ? index : other, column = isRow ? other : index;
        if (row >= texts.size() || column >= texts[row].size())
            return empty;
        return texts[row][column];
    }
};

quint64 key(const Line& line, const QList<LinePair>& across, bool firstSide)
{
    size_t hash = 0;
    bool blank = true;
    for (qsizetype n = 0; n < across.size(); ++n) {
        const QString& text = line.at(firstSide ? across[n].first : across[n].second);
        if (!text.isEmpty())
            blank = false, hash = qHashMulti(hash, n, text);
    }
    // Never the blank key for a line with text in it.
    return blank ? SequenceMatcher::kBlank : (hash | 1);
}

int filled(const Line& line, const QList<LinePair>& across, bool firstSide)
{
    int count = 0;
    for (const LinePair& p : across)
        count += !line.at(firstSide ? p.first : p.second).isEmpty();
    return count;
}

// Lines that share at least half of the non-empty cells of each, `filledA` and `filledB`. Most
// lines of a block are not similar: the count stops once the rest could not reach half.
bool similar(const Line& a, const Line& b, const QList<LinePair>& across, int filledA, int filledB)
{
    const qsizetype needed = std::max<qsizetype>(1, (std::max(filledA, filledB) + 1) / 2);
    qsizetype shared = 0;
    for (qsizetype n = 0; n < across.size() && shared < needed; ++n) {
        if (shared + (across.size() - n) < needed)
            return false;
        const QString& x = a.at(across[n].first);
        shared += !x.isEmpty() && x == b.at(across[n].second);
    }
    return shared >= needed;
}

} // namespace

SheetAlignment::SheetAlignment(const SheetTexts& first, const SheetTexts& second, int columns)
    : m_first(first), m_second(second), m_columnCount(columns)
{
    QList<LinePair> matchedColumns = matchColumnsByTexts();
    m_rows = matchRows(matchedColumns);
    const QList<LinePair> again = matchColumns(m_rows);
    if (again != matchedColumns) {
        matchedColumns = again;
        m_rows = matchRows(matchedColumns);
    }
    m_columns = matchedColumns;
}

QList<LinePair> SheetAlignment::matchRows(const QList<LinePair>& columns) const
{
    return matchLines(true, m_first.size(), m_second.size(), columns);
}

QList<LinePair> SheetAlignment::matchColumns(const QList<LinePair>& rows) const
{
    return matchLines(false, m_columnCount, m_columnCount, rows);
}

// Rows (or columns) by their cells at the places `acrossPairs` pairs in the other direction.
QList<LinePair> SheetAlignment::matchLines(bool rows, qsizetype firstCount, qsizetype secondCount,
                                           const QList<LinePair>& acrossPairs) const
{
    const QList<LinePair> across = bothSides(acrossPairs);
    std::vector<quint64> a, b;
    std::vector<int> filledA, filledB;
    for (int i = 0; i < firstCount; ++i) {
        a.push_back(key({m_first, rows, i}, across, true));
        filledA.push_back(filled({m_first, rows, i}, across, true));
    }
    for (int j = 0; j < secondCount; ++j) {
        b.push_back(key({m_second, rows, j}, across, false));
        filledB.push_back(filled({m_second, rows, j}, across, false));
    }
    return SequenceMatcher::match(a, b, [&](int i, int j) {
        return similar({m_first, rows, i}, {m_second, rows, j}, across, filledA[size_t(i)],
                       filledB[size_t(j)]);
    });
}

// Before any row is matched: columns by the texts they hold, whatever their rows.
QList<LinePair> SheetAlignment::matchColumnsByTexts() const
{
    std::vector<std::vector<size_t>> textsA, textsB;
    std::vector<quint64> a, b;
    const auto add = [](std::vector<std::vector<size_t>>& texts, std::vector<quint64>& keys,
                        std::vector<size_t> column) {
        keys.push_back(column.empty() ? SequenceMatcher::kBlank
                                      : (qHashRange(column.begin(), column.end()) | 1));
        texts.push_back(std::move(column));
    };
    for (int c = 0; c < m_columnCount; ++c) {
        add(textsA, a, sortedTexts(m_first, c));
        add(textsB, b, sortedTexts(m_second, c));
    }
    return SequenceMatcher::match(a, b, [&](int i, int j) {
        const std::vector<size_t>&x = textsA[size_t(i)], &y = textsB[size_t(j)];
        return commonTexts(x, y) >= std::max<size_t>(1, (std::max(x.size(), y.size()) + 1) / 2);
    });
}

} // namespace brelix::compare
