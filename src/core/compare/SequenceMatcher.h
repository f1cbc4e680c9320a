#pragma once

#include "core/compare/LinePair.h"

#include <QList>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace brelix::compare {

// Aligns two sequences of lines (rows or columns) the way a line diff does: the fewest deleted
// and inserted lines, then, inside a block where lines were both deleted and inserted, lines the
// caller calls similar are paired as changed. Lines are given by a key each (a hash of their
// texts); kBlank marks an empty line, which alone does not make two sequences related. When no
// non-empty line is common to both and no two lines are similar, lines are paired by position.
//
// Near-linear when the sequences differ little: the common head and tail are skipped, the rest
// is a Myers diff bounded in its edits, and a rest that differs too much is split at lines that
// occur once in each.
class SequenceMatcher {
public:
    static constexpr quint64 kBlank = 0;
    using Similar = std::function<bool(int first, int second)>;

    static QList<LinePair> match(const std::vector<quint64>& first,
                                 const std::vector<quint64>& second, const Similar& similar);
};

} // namespace brelix::compare
