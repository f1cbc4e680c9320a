#pragma once

#include "core/settings/Settings.h"

#include <QString>

namespace brelix::settings {

struct LoadSettingsResult {
    Settings settings;
    // The file was missing or unreadable, or a record stopped the reading. The program's folder
    // was then appended to folderHistory even behind folders already read, and the window must not
    // select the first searchHistory entry nor apply the fileTypeFilter selection once more.
    bool recovered = false;
};

// Reads the settings file: the start values, then each line's tag and value in file order,
// the last of a key winning and each PRINT or GREP line adding an entry. Lines are taken
// whole, so a value keeps its commas. Out-of-range COLOR, DAISYO, HYOUJI, FRONT, TOOLBR and
// HIKAKU values are ignored; a Sheet or PATRN value out of range, or a number too large for its
// holder, stops the reading with what was read so far. folderHistory always ends non-empty:
// `programFolder` (in its long form) is added when no folder was read or the reading stopped.
LoadSettingsResult LoadSettings(const QString& filePath, const QString& programFolder);

// The settings file of the program's folder.
LoadSettingsResult LoadSettings();

} // namespace brelix::settings
