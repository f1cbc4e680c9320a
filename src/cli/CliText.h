#pragma once

#include <QString>

// Text helpers for line-oriented, tab-separated output.
namespace brelix::cli {

// Backslash, tab, CR and LF as \\, \t, \r, \n, so one field stays on one line and in one column.
QString escapeField(const QString& text);

// A message for one line of stderr.
QString oneLine(const QString& text);

} // namespace brelix::cli
