#pragma once

#include <QString>
#include <QVariantList>

namespace brelix::compare {

// What a record stands for: a comparison by position only finds changed cells; one by matched
// rows and columns or by key also inserted and deleted rows and columns, and one of sheets by
// name inserted and deleted sheets.
enum class ChangeKind {
    Changed,
    RowInserted,
    RowDeleted,
    ColumnInserted,
    ColumnDeleted,
    SheetInserted,
    SheetDeleted
};

// The kind as the change history names it.
QString changeKindCaption(ChangeKind kind);

// One differing cell: a row A to F of the change history. When records name their kind, also
// the cell's address in the second workbook (empty for a deleted cell, as the first address is
// for an inserted one) and its kind, columns G and H; a record of a whole sheet has neither
// address nor texts.
struct DiffRecord {
    int sequence = 0;
    QString sheetName{};
    int sheetNumber = 0;
    QString address{};
    QString firstText{};
    QString secondText{};
    QString secondAddress{};
    ChangeKind kind = ChangeKind::Changed;

    QVariantList row() const
    {
        return {sequence, sheetName, sheetNumber, address, firstText, secondText};
    }
    QVariantList alignedRow() const;
    friend bool operator==(const DiffRecord&, const DiffRecord&) = default;
};

} // namespace brelix::compare
