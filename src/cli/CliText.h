#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

// Text helpers for line-oriented, tab-separated output and for the commands' help.
namespace brelix::cli {

// Backslash, tab, CR and LF as \\, \t, \r, \n, so one field stays on one line and in one column.
QString escapeField(const QString& text);

// A message for one line of stderr.
QString oneLine(const QString& text);

// Where the descriptions of options start in the helps, unless the names need more room.
constexpr int kOptionColumn = 19;

// A help's "Options:" and a line per option: two blanks, its names and value, then its
// description from `column` on, each further line of it indented to the column. Names too long
// for the column leave it to the description, which starts on the next line.
QString optionsSection(const QList<QCommandLineOption>& options, int column);

} // namespace brelix::cli
