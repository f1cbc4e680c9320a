#pragma once

#include "core/files/ProgramFiles.h"
#include "core/settings/SettingDefaults.h"

#include <QList>
#include <QString>

namespace brelix::search {

// A selected workbook: the list entry and the file it stands for.
struct SearchTarget {
    QString fileName;
    QString path;
};

// What the search screen hands to a search when its button is pressed.
struct SearchSettings {
    QString searchText; // as typed; the run trims it
    bool caseSensitive = false;
    QList<SearchTarget> targets; // the selected entries, in list order
    QString templatePath;        // files::kTemplateFile in the program's folder
    QString outputPath;          // files::kResultsFile in the program's folder
    QString hitFilePath;         // files::kHitFile in the program's folder
    bool keepHitFile = false;    // the program was started with arguments
    int toolbarRows =
        settings::kDefaultToolbarRows; // rows of toolbars the user says the office shows
    // The workbooks with hits open beside the results; pointless where the office ends with
    // the run, as on the command line without --show.
    bool openHitWorkbooks = true;
    bool noSizeLimit = false; // every cell of every workbook, past the cell limit
    // Rows a sheet of the saved results holds; hits past them go on in further sheets.
    int resultsSheetRows = files::kResultsSheetRows;
};

} // namespace brelix::search
