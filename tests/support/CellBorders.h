#pragma once

namespace brelix::support {

// Which edges of one cell carry a continuous line.
struct CellBorders {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
    friend bool operator==(const CellBorders&, const CellBorders&) = default;
};

} // namespace brelix::support
