#pragma once

namespace brelix::compare {

// A sheet of the first workbook and the sheet of the second compared with it, by position from
// 1; 0 where one has no partner (a sheet deleted or inserted, when sheets pair by name).
struct SheetPair {
    int first = 0;
    int second = 0;

    bool deleted() const { return second == 0; }
    bool inserted() const { return first == 0; }
    friend bool operator==(const SheetPair&, const SheetPair&) = default;
};

} // namespace brelix::compare
