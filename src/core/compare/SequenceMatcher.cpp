#include "core/compare/SequenceMatcher.h"

#include <QHash>
#include <algorithm>

namespace brelix::compare {

namespace {

enum class Step : char { Same, Delete, Insert };

// Past this many edits a block is split at its unique lines instead: the Myers search costs
// lines x edits, and its trace edits squared.
constexpr int kMaxEdits = 256;
// How far pairing looks ahead among the inserted lines of a block for one similar to a deleted.
constexpr int kPairingLookAhead = 64;

class EditScript {
public:
    EditScript(const std::vector<quint64>& first, const std::vector<quint64>& second)
        : m_a(first), m_b(second)
    {
    }

    std::vector<Step> build()
    {
        diff(0, static_cast<int>(m_a.size()), 0, static_cast<int>(m_b.size()));
        return std::move(m_steps);
    }

private:
    void diff(int a0, int a1, int b0, int b1);
    bool myers(int a0, int a1, int b0, int b1);
    void splitAtUniqueLines(int a0, int a1, int b0, int b1);
    void append(Step step, int count) { m_steps.insert(m_steps.end(), std::max(0, count), step); }

    const std::vector<quint64>& m_a;
    const std::vector<quint64>& m_b;
    std::vector<Step> m_steps;
};

void EditScript::diff(int a0, int a1, int b0, int b1)
{
    int head = 0;
    while (a0 + head < a1 && b0 + head < b1 && m_a[a0 + head] == m_b[b0 + head])
        ++head;
    int tail = 0;
    while (a1 - tail > a0 + head && b1 - tail > b0 + head &&
           m_a[a1 - tail - 1] == m_b[b1 - tail - 1])
        ++tail;
    append(Step::Same, head);
    const int from = a0 + head, to = a1 - tail, bFrom = b0 + head, bTo = b1 - tail;
    if (from == to || bFrom == bTo) {
        append(Step::Delete, to - from);
        append(Step::Insert, bTo - bFrom);
    } else if (!myers(from, to, bFrom, bTo)) {
        splitAtUniqueLines(from, to, bFrom, bTo);
    }
    append(Step::Same, tail);
}

// The shortest edit script by Myers' greedy search, kept to kMaxEdits; false beyond.
bool EditScript::myers(int a0, int a1, int b0, int b1)
{
    const int n = a1 - a0, m = b1 - b0;
    const int maxEdits = std::min(n + m, kMaxEdits);
    const int offset = maxEdits + 1;
    std::vector<int> v(static_cast<size_t>(2 * maxEdits + 3), 0);
    std::vector<std::vector<int>> trace; // per round d, the diagonals -d to d before it
    const auto at = [&](std::vector<int>& row, int k) -> int& {
        return row[static_cast<size_t>(k + offset)];
    };
    for (int d = 0; d <= maxEdits; ++d) {
        trace.emplace_back(v.begin() + offset - d, v.begin() + offset + d + 1);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && at(v, k - 1) < at(v, k + 1))) ? at(v, k + 1)
                                                                         : at(v, k - 1) + 1;
            int y = x - k;
            while (x < n && y < m && m_a[a0 + x] == m_b[b0 + y])
                ++x, ++y;
            at(v, k) = x;
            if (x < n || y < m)
                continue;
            // Walk back from the end, collecting the steps in reverse.
            std::vector<Step> reversed;
            for (int e = d; e > 0; --e) {
                const std::vector<int>& round = trace[static_cast<size_t>(e)];
                const auto before = [&](int diagonal) { return round[size_t(diagonal + e)]; };
                const int kk = x - y;
                const bool down = kk == -e || (kk != e && before(kk - 1) < before(kk + 1));
                const int prevK = down ? kk + 1 : kk - 1;
                const int prevX = before(prevK), prevY = prevX - prevK;
                for (; x > prevX && y > prevY; --x, --y)
                    reversed.push_back(Step::Same);
                reversed.push_back(down ? Step::Insert : Step::Delete);
                x = prevX, y = prevY;
            }
            reversed.insert(reversed.end(), static_cast<size_t>(x), Step::Same);
            m_steps.insert(m_steps.end(), reversed.rbegin(), reversed.rend());
            return true;
        }
    }
    return false;
}

// Lines that occur once in each part and in the same order anchor the alignment (the longest
// such chain); the parts between them are aligned on their own. Without any, the whole is
// replaced.
void EditScript::splitAtUniqueLines(int a0, int a1, int b0, int b1)
{
    QHash<quint64, std::pair<int, int>> counts; // key: occurrences in the first, in the second
    QHash<quint64, int> placeInSecond;
    for (int i = a0; i < a1; ++i)
        counts[m_a[i]].first += 1;
    for (int j = b0; j < b1; ++j) {
        auto found = counts.find(m_b[j]);
        if (found != counts.end()) {
            found->second += 1;
            placeInSecond[m_b[j]] = j;
        }
    }
    std::vector<std::pair<int, int>> unique; // (i, j) in the order of the first
    for (int i = a0; i < a1; ++i) {
        const auto c = counts.value(m_a[i]);
        if (m_a[i] != SequenceMatcher::kBlank && c.first == 1 && c.second == 1)
            unique.push_back({i, placeInSecond.value(m_a[i])});
    }
    // Longest chain increasing in j, by patience sorting.
    std::vector<int> pileTops, previous(unique.size(), -1);
    for (int u = 0; u < static_cast<int>(unique.size()); ++u) {
        const auto pile = std::lower_bound(pileTops.begin(), pileTops.end(), unique[u].second,
                                           [&](int top, int j) { return unique[top].second < j; });
        if (pile != pileTops.begin())
            previous[u] = *(pile - 1);
        if (pile == pileTops.end())
            pileTops.push_back(u);
        else
            *pile = u;
    }
    std::vector<std::pair<int, int>> anchors;
    for (int u = pileTops.empty() ? -1 : pileTops.back(); u >= 0; u = previous[u])
        anchors.push_back(unique[u]);
    std::reverse(anchors.begin(), anchors.end());
    if (anchors.empty()) {
        append(Step::Delete, a1 - a0);
        append(Step::Insert, b1 - b0);
        return;
    }
    int i = a0, j = b0;
    for (const auto& [ai, bj] : anchors) {
        diff(i, ai, j, bj);
        append(Step::Same, 1);
        i = ai + 1, j = bj + 1;
    }
    diff(i, a1, j, b1);
}

// Pairs the similar lines of one block of deleted and inserted lines, in order; true when it
// paired any.
bool pairBlock(const std::vector<int>& deleted, const std::vector<int>& inserted,
               const SequenceMatcher::Similar& similar, QList<LinePair>& out)
{
    bool paired = false;
    size_t next = 0;
    for (const int d : deleted) {
        const size_t end = std::min(inserted.size(), next + kPairingLookAhead);
        size_t found = next;
        while (found < end && !similar(d, inserted[found]))
            ++found;
        if (found == end) {
            out.append({d, -1});
            continue;
        }
        for (; next < found; ++next)
            out.append({-1, inserted[next]});
        out.append({d, inserted[found]});
        next = found + 1;
        paired = true;
    }
    for (; next < inserted.size(); ++next)
        out.append({-1, inserted[next]});
    return paired;
}

} // namespace

QList<LinePair> SequenceMatcher::match(const std::vector<quint64>& first,
                                       const std::vector<quint64>& second, const Similar& similar)
{
    QList<LinePair> pairs;
    // Related: some non-empty line is common to both, or some pair of lines is similar.
    bool related = false;
    int i = 0, j = 0;
    std::vector<int> deleted, inserted;
    const auto endBlock = [&] {
        related = pairBlock(deleted, inserted, similar, pairs) || related;
        deleted.clear();
        inserted.clear();
    };
    for (const Step s : EditScript(first, second).build()) {
        if (s == Step::Delete) {
            deleted.push_back(i++);
        } else if (s == Step::Insert) {
            inserted.push_back(j++);
        } else {
            endBlock();
            related = related || first[static_cast<size_t>(i)] != kBlank;
            pairs.append({i++, j++});
        }
    }
    endBlock();
    if (related)
        return pairs;
    const int n = static_cast<int>(first.size()), m = static_cast<int>(second.size());
    pairs.clear();
    for (int k = 0; k < std::max(n, m); ++k)
        pairs.append({k < n ? k : -1, k < m ? k : -1});
    return pairs;
}

} // namespace brelix::compare
