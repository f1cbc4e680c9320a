#pragma once

#include "core/compare/DiffRules.h"
#include "core/compare/DiffSettings.h"
#include "core/files/ProgramFiles.h"

#include <QString>

namespace brelix::compare {

// What one comparison is asked to do: set by the run that starts it (DiffRun, FolderDiffRun)
// before anything else, then only read.
struct DiffInputs {
    DiffSettings settings{};
    SheetRange range{};
    QString firstName{}; // the workbooks as the office names them
    QString secondName{};
    QString historyName = files::kResultsFile; // empty: the records are only kept
    QString captionPrefix{}; // before each sheet's progress caption: the file of a folder run

    bool byValue() const { return !settings.byFormula; }
};

} // namespace brelix::compare
