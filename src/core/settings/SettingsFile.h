#pragma once

#include "core/settings/Settings.h"

#include <QString>

namespace brelix::settings {

// Brelix.ini: one line a value, each a fixed eight-character tag and the value's text.
class SettingsFile {
public:
    struct Loaded {
        Settings settings;
        // The file was missing or unreadable, or a record stopped the reading. The program's
        // folder was then appended to folderHistory even behind folders already read, and the
        // window must not select the first searchHistory entry nor apply the fileTypeFilter
        // selection once more.
        bool recovered = false;
    };

    // Reads the file: the start values, then each line's tag and value in file order, the last
    // of a key winning and each folder or search-text line adding an entry. Lines are taken
    // whole, so a value keeps its commas. Out-of-range values of the check boxes, the layout,
    // the toolbar rows and the compare target, and column lists or a tolerance the comparison
    // would refuse, are ignored; a print scope or file type out of range, or a number too large
    // for its holder, stops the reading with what was read so far. folderHistory always ends
    // non-empty: `programFolder` is added when no folder was read or the reading stopped.
    static Loaded load(const QString& filePath, const QString& programFolder);
    // The settings file of the program's folder.
    static Loaded load();

    // The lines of the file in their fixed order, each ending in CR LF. The lines of the mode,
    // the layout and the print scope are left out when nothing valid is selected; window
    // positions only when known. History entries that hold a line break are left out: they
    // could not come back as one entry.
    static QString text(const Settings& settings);

    // Writes the file in UTF-8 through a new file that replaces the old one only once it is
    // complete, so a failed write (a read-only folder, a full disk) leaves the previous file as
    // it was. False when the file could not be written.
    static bool save(const QString& filePath, const Settings& settings);
    // The settings file of the program's folder.
    static bool save(const Settings& settings);
};

} // namespace brelix::settings
