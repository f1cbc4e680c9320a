#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/RunUi.h"

namespace brelix::run {

// True, once the user has been told, while an office that a run handed over is still open: a
// new run would rewrite the results it shows and open its workbooks a second time.
bool refuseWhileOfficeOpen(RunUi& ui, host::SpreadsheetHostFactory& factory);

// The progress window of a run whose office is starting, with the cancel flag cleared.
void showOfficeStarting(RunUi& ui);

} // namespace brelix::run
