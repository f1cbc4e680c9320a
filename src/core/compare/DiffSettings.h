#pragma once

#include "core/files/ProgramFiles.h"
#include "core/settings/EqualityRules.h"
#include "core/settings/SettingDefaults.h"

#include <QString>

namespace brelix::compare {

using settings::EqualityRules;

// How the windows of the two workbooks and the change history are arranged: the numbers of the
// compare screen's choice, of Brelix.ini and of the command line. None when nothing is chosen.
enum class WindowLayout { None = -1, Normal = 0, SideBySide = 1, Stacked = 2 };

// What the compare screen hands to a comparison when its button is pressed.
struct DiffSettings {
    QString firstPath;
    QString secondPath;
    QString outputPath;   // files::kResultsFile in the program's folder
    QString templatePath; // files::kTemplateFile in the program's folder
    QString startSheetText;
    QString lastSheetText;
    bool byFormula = false;
    WindowLayout layout = WindowLayout::Normal;
    bool colourDifferences = true; // colour the differing cells in both workbooks
    // False when the workbooks end unsaved with nobody to see them: their colouring still counts
    // against the work budget, as it does in the window, but the office is spared it.
    bool coloursSeen = true;
    int toolbarRows = settings::kDefaultToolbarRows; // rows the user says the office shows
    int diffColour = settings::kDefaultDiffColour;   // palette index of differing cells
    // Compare by matched rows and columns instead of by position.
    bool alignRows = false;
    // Every cell of every sheet pair, past the work budget.
    bool noSizeLimit = false;
    // Rows paired by the texts of these columns (from 1, at most kMostKeyColumns) rather than
    // by place.
    QList<int> keyColumns{};
    // When differing texts still count as equal.
    EqualityRules equality{};
    // Sheets paired by name rather than by position; differing sheet counts are compared then.
    bool bySheetName = false;
    // Rows a sheet of the saved change history holds; records past them go on in further sheets.
    int historySheetRows = files::kResultsSheetRows;

    // Records name their kind and the cell's address in the second workbook as well.
    bool recordsKinds() const { return alignRows || !keyColumns.isEmpty() || bySheetName; }
};

using settings::EqualityRules;
using settings::kMostKeyColumns;

} // namespace brelix::compare
