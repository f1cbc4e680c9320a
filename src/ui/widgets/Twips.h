#pragma once

namespace brelix::ui {

// The settings file keeps the main window's place and width in twips, 1/1440 of an inch: 15
// twips to a pixel at 96 dots per inch.
constexpr int twips(int value)
{
    return value / 15;
}

constexpr int pixelsToTwips(int pixels)
{
    return pixels * 15;
}

} // namespace brelix::ui
