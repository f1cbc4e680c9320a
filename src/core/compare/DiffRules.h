#pragma once

#include "core/run/RunUi.h"

#include <QList>
#include <QString>
#include <optional>

// The small rules of a comparison that need no host: the checks before it starts, the sheet
// range, the names of the change history.
namespace brelix::compare {

// Why the compare button refuses to start, checked in this order: the template is missing or
// is no BIFF8 workbook with its two sheets (the program ends after the message), the two bare
// file names are equal ignoring case (two empty names are equal), a path is empty or names no
// existing file.
enum class DiffRefusal { MissingTemplate, DamagedTemplate, SameFileName, FilesNotSelected };
std::optional<DiffRefusal> checkDiffInputs(const QString& templatePath, const QString& firstPath,
                                           const QString& secondPath);
run::RunMessage refusalMessage(DiffRefusal refusal);

// The bare file name of a path as a directory lookup gives it: empty when nothing is there.
QString bareFileName(const QString& path);

// A sheet box's text read as a number: its numeric prefix (0 when there is none), rounded to a
// whole number with halves to even, into a 16-bit integer (saturating).
qint16 sheetNumber(const QString& text);

// The sheet range of the two boxes: a start below 1 is 1, a last sheet below 1 is 999.
// Nothing when the start lies beyond the last sheet.
struct SheetRange {
    int start = 1;
    int last = 999;
    bool whole = true; // both boxes blank (or below 1): every sheet
};
std::optional<SheetRange> sheetRange(const QString& startText, const QString& lastText);

// A workbook's file name less its extension with the dot ("x.xls" and "x.xlsx" give "x").
QString baseName(const QString& fileName);

// "変更履歴　" + first base + "-" + second base, cut to 31 characters; when the two base
// names together are longer than 25 characters, each base longer than 12 becomes its first 9
// characters and "...".
QString changeHistorySheetName(const QString& firstFileName, const QString& secondFileName);
// The same rule for `prefix` and two names taken as they are (the folders of a folder comparison).
QString resultSheetName(const QString& prefix, QString first, QString second);

} // namespace brelix::compare
