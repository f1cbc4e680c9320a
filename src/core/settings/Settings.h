#pragma once

#include "core/settings/EqualityRules.h"
#include "core/settings/SettingDefaults.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace brelix::settings {

// What the comparison reads from each cell; the numbers are those Brelix.ini stores.
enum class CompareTarget { Values = 0, Formulas = 1 };

// What the main window keeps between runs in Brelix.ini, one member a widget or value of the
// window, so that the window copies each member straight into its widget and back.
struct Settings {
    // Read: the mode to open at start-up (1 search, 2 print, anything else compare).
    // Written: the current mode, the one whose menu item is disabled; outside 0-2 no line.
    int startMode = 0;

    // Window position in twips (15 per pixel); none: the window stays centred.
    std::optional<int> top;
    std::optional<int> left;
    // The main window's width in twips, kept once the user widened it; none: the width its
    // controls need (kDefaultWindowWidth at the default font). Written only when set.
    std::optional<int> width;

    Qt::CheckState colourDifferences = Qt::Checked; // colour the differing cells
    Qt::CheckState caseSensitive = Qt::Unchecked;   // case-sensitive search
    int windowLayout = 0;                           // window layout 0-2; -1 none selected
    bool alwaysOnTop = false;                       // always on top

    QStringList folderHistory; // folder history, first entry selected after loading
    QStringList searchHistory; // search-text history

    int printScope = -1;    // print scope 0-3; -1 none selected
    int fileTypeFilter = 0; // file-type filter: 0 "*.xls", 1 "*.csv", -1 none selected

    int toolbarRows = kDefaultToolbarRows; // toolbar rows the office shows, 0-5
    CompareTarget compareTarget = CompareTarget::Values;
    int diffColourIndex = kDefaultDiffColour; // palette index of differing cells
    int fileSortOrder = 1;   // file list order; loading always starts in name order, never saved
    bool alignRows = false;  // compare by matched rows and columns; written only when on
    bool readyOffice = true; // keep an office started ahead of the jobs; written only when off
    // Compare and search every cell, whatever the size.
    bool noSizeLimit = false;
    // Offices a search or a print works with at once, 1-4; 0 one per core, at most 4. Written
    // only when chosen.
    int officeCount = 0;
    // The comparison's pairing and rules of equality, as its dialog sets them; each written only
    // when set.
    QList<int> keyColumns;    // rows paired by the texts of these columns, from 1
    bool bySheetName = false; // sheets paired by name
    EqualityRules equality;

    friend bool operator==(const Settings&, const Settings&) = default;
};

} // namespace brelix::settings
