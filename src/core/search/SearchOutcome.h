#pragma once

#include "core/search/HitRecord.h"

#include <QList>
#include <QStringList>

namespace brelix::search {

// How a search ended; every ending has told the user already.
enum class SearchEnding {
    Finished,
    CutShort, // a workbook was over the cell limit; the results say which
    Cancelled,
    PasswordFailed,
    Failed,          // the results could not be made
    EmptyText,       // refused: nothing to search for
    NoSelection,     // refused: no workbook selected
    MissingTemplate, // refused: no usable template to make the results from
    OfficeOpen,      // refused while a spreadsheet window is open
};

struct SearchOutcome {
    SearchEnding ending = SearchEnding::Failed;
    QList<HitRecord> hits;    // in the order found, also when the run did not finish
    QStringList skippedFiles; // selected files that could not be opened or read
};

} // namespace brelix::search
