#pragma once

#include "core/run/RunUi.h"

namespace brelix::run {

// True, once the user has been told, while a spreadsheet window of the user's own is open: a
// run starts no office beside it.
bool refuseWhileOfficeOpen(RunUi& ui);

// The progress window of a run whose office is starting, with the cancel flag cleared.
void showOfficeStarting(RunUi& ui);

} // namespace brelix::run
