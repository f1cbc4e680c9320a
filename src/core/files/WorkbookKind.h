#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace brelix::files {

// What a workbook file must hold, judged by its name and its bytes, so that it is opened only
// by the one reader its kind calls for and never read as something else.
class WorkbookKind {
public:
    enum class Format { Excel97, Excel2007, OpenDocument, Csv };

    // The format a file's name calls for (letter case ignored); nothing for other names.
    static std::optional<Format> fromName(const QString& path);

    // The names of the worksheets, in order, that a whole BIFF5 to BIFF8 workbook declares
    // (none for an encrypted one, whose names cannot be read); nothing, with the reason, when
    // the bytes are no such workbook.
    static std::optional<QStringList> excelSheets(const QByteArray& bytes, QString& problem);

    // Whether the file is a workbook of that kind holding worksheets of all these names.
    static bool holdsSheets(const QString& path, const QStringList& names);

    // The most characters (UTF-16 units, quotes removed) any field of a comma-separated text
    // holds.
    static qsizetype longestCsvField(const QString& text);
};

} // namespace brelix::files
