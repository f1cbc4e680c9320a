#pragma once

#include <QtGlobal>

namespace brelix::host {

// The classic 56-colour palette of .xls workbooks; cell fills are given by its indexes 1-56.
namespace ColourPalette {

constexpr int NoColour = 0; // a cell without a fill
constexpr int Count = 56;

// 0xRRGGBB. The same type as QRgb, which lives in QtGui; the core links QtCore only.
using Rgb = quint32;

// RGB of an index 1-56; an index outside the palette is not a colour.
bool isValidIndex(int index);
Rgb rgb(int index);

} // namespace ColourPalette
} // namespace brelix::host
