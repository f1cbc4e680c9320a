#pragma once

namespace brelix::settings {

// What a run takes where no settings file says otherwise: on the command line always, in the
// window until the user chooses.
inline constexpr int kDefaultToolbarRows = 2; // rows of toolbars the office shows in a window
inline constexpr int kDefaultDiffColour = 7;  // palette index of differing cells
// The main window's width in twips at the default font, 420 pixels: the width its controls
// need, which no settings line records.
inline constexpr int kDefaultWindowWidth = 6300;

} // namespace brelix::settings
