#pragma once

#include <QString>
#include <QVariantList>

namespace brelix::compare {

// One differing cell: a row A to F of the change history.
struct DiffRecord {
    int sequence = 0;
    QString sheetName;
    int sheetNumber = 0;
    QString address;
    QString firstText;
    QString secondText;

    QVariantList row() const
    {
        return {sequence, sheetName, sheetNumber, address, firstText, secondText};
    }
    friend bool operator==(const DiffRecord&, const DiffRecord&) = default;
};

} // namespace brelix::compare
