#pragma once

namespace brelix::settings {

// What a run takes where no settings file says otherwise: on the command line always, in the
// window until the user chooses.
inline constexpr int kDefaultToolbarRows = 2; // rows of toolbars the office shows in a window
inline constexpr int kDefaultDiffColour = 7;  // palette index of differing cells

} // namespace brelix::settings
