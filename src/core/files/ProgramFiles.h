#pragma once

#include <QString>
#include <QStringList>

namespace brelix::files {

// The files of the program's folder that the runs read and write, by name.
inline const QString kTemplateFile = QStringLiteral("Brelix_Format.xls"); // copied for each result
inline const QString kResultsFile = QStringLiteral("Brelix.xls"); // change history, search results
// The sheets of the template: the change history's and the search results'.
inline const QStringList kTemplateSheets = {QStringLiteral("変更履歴"), QStringLiteral("Grep結果")};
// Rows one sheet of the results file holds: it is a BIFF8 workbook.
inline constexpr int kResultsSheetRows = 65536;
inline const QString kHitFile = QStringLiteral("Brelix.grp"); // a search's hits, line by line
// Added to the results file's name while a run makes a new one.
inline const QString kSetAsideSuffix = QStringLiteral(".previous");

} // namespace brelix::files
