#pragma once

#include "core/host/CellRange.h"
#include "core/host/SpreadsheetHost.h"
#include "core/run/RunUi.h"

#include <optional>

namespace brelix::run {

// The last used row and column of a sheet. A protected sheet asks for its password (offering
// the one typed last, which `password` keeps), unprotects the sheet with it and measures
// again; nothing when no working password was given. Other host failures pass through.
std::optional<host::CellPosition> usedExtent(host::SpreadsheetHost& host, RunUi& ui,
                                             QString& password, const QString& book, int sheet);

} // namespace brelix::run
