#pragma once

namespace brelix::host {

// A workbook window's place on the screen, in points (1/72 inch).
struct WindowGeometry {
    double top = 0;
    double left = 0;
    double width = 0;
    double height = 0;
};

enum class WindowArrangement {
    SideBySide, // vertical tiling: windows next to each other
    Stacked,    // horizontal tiling: windows one above the other
};

} // namespace brelix::host
