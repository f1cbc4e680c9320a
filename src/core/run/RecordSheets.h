#pragma once

#include "core/host/SpreadsheetHost.h"

#include <QList>
#include <QString>
#include <QVariantList>

namespace brelix::run {

// Where the records of a results workbook go: one a row from row 2 of its first sheet down, and
// past the rows one sheet of the saved file holds, on in further sheets right after it, each
// with the first sheet's heading and a name that tells their order.
class RecordSheets {
public:
    struct Place {
        int sheet = 1;
        int row = 2;
        friend bool operator==(const Place&, const Place&) = default;
    };

    // `baseName` names the further sheets until the run names them for good. The records start
    // on the workbook's sheet `firstSheet`; places count their sheets from there.
    RecordSheets(host::SpreadsheetHost& host, const QString& book, int sheetRows,
                 const QString& baseName, int firstSheet = 1)
        : m_host(host), m_book(book), m_sheetRows(sheetRows), m_baseName(baseName),
          m_sheetsBefore(firstSheet - 1)
    {
    }

    // The place of the record numbered `sequence`, from 1.
    static Place placeOf(int sequence, int sheetRows);
    // Where `rows` rows that must stay together go from the place of record `sequence` on:
    // there, or at the top of the next sheet when they would run past the last row a sheet
    // holds (the saved file would drop them there).
    static Place placeOfRowsTogether(int sequence, int rows, int sheetRows);
    // `name` followed by (2), (3) ... for the further sheets, cut to the 31 characters a sheet
    // name may have; the first sheet's name as it is.
    static QString sheetName(const QString& name, int sheet);

    // Writes the records from `firstSequence` on, one call a sheet, adding the sheets they need.
    void write(int firstSequence, const QList<QVariantList>& rows);
    // Adds the sheet of `place` when it is the top of a sheet past the first, so call it once
    // for each place, before anything is written there.
    void reach(const Place& place);

private:
    host::SpreadsheetHost& m_host;
    QString m_book;
    int m_sheetRows;
    QString m_baseName;
    int m_sheetsBefore;
};

} // namespace brelix::run
