#pragma once

#include <QString>
#include <QStringList>

namespace brelix::search {

// One cell that holds the search text, as the hit file and the results sheet carry it.
struct HitRecord {
    int number = 0;   // from 1, across all workbooks of a run
    QString fileName; // the list entry: a file name without folder
    QString sheetName;
    int sheetNumber = 0; // position among the workbook's worksheets, from 1
    QString address;     // "AB12"
    QString text;        // the value as searched, upper-cased when case was ignored

    QStringList fields() const
    {
        return {QString::number(number),      fileName, sheetName,
                QString::number(sheetNumber), address,  text};
    }

    friend bool operator==(const HitRecord&, const HitRecord&) = default;
};

} // namespace brelix::search
