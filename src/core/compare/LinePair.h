#pragma once

namespace brelix::compare {

// One step of an alignment of two sequences of rows or columns, counted from 0: a line of both
// (equal or changed), of the first only (deleted, second is -1) or of the second only (inserted,
// first is -1).
struct LinePair {
    int first = -1;
    int second = -1;

    bool deleted() const { return second < 0; }
    bool inserted() const { return first < 0; }
    friend bool operator==(const LinePair&, const LinePair&) = default;
};

} // namespace brelix::compare
