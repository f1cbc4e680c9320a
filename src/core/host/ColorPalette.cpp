#include "core/host/ColorPalette.h"

#include <array>

namespace brelix::host::ColorPalette {

namespace {
constexpr std::array<Rgb, Count> kColors = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, // 1-8
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080, // 9-16
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF, // 17-24
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF, // 25-32
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99, // 33-40
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696, // 41-48
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333, // 49-56
};
} // namespace

bool isValidIndex(int index)
{
    return index >= 1 && index <= Count;
}

Rgb rgb(int index)
{
    return isValidIndex(index) ? kColors[static_cast<size_t>(index - 1)] : 0;
}

int indexOf(Rgb value)
{
    const Rgb wanted = value & 0xFFFFFF;
    // The palette repeats some colours; the lowest index is the one a user picks.
    for (int i = 1; i <= Count; ++i)
        if (kColors[static_cast<size_t>(i - 1)] == wanted)
            return i;
    return NoColor;
}

} // namespace brelix::host::ColorPalette
