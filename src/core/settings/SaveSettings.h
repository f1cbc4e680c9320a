#pragma once

#include "core/settings/Settings.h"

#include <QString>

namespace brelix::settings {

// The lines of the settings file in their fixed order, each ending in CR LF. The lines of
// the mode, the layout and the print scope are left out when nothing valid is selected;
// window positions only when known. History entries that hold a line break are left out:
// they could not come back as one entry.
QString settingsFileText(const Settings& settings);

// Writes the settings file in UTF-8 through a new file that replaces the old one only once
// it is complete, so a failed write (a read-only folder, a full disk) leaves the previous
// file as it was. False when the file could not be written.
bool SaveSettings(const QString& filePath, const Settings& settings);

// The settings file of the program's folder.
bool SaveSettings(const Settings& settings);

} // namespace brelix::settings
