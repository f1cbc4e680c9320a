#pragma once

#include "core/host/SpreadsheetHost.h"

#include <QString>
#include <optional>

namespace brelix::support {

// One print job the in-memory host was given.
struct PrintJob {
    QString book;
    int sheet = 0; // 0: the whole workbook
    std::optional<host::PageRange> pages;
};

} // namespace brelix::support
