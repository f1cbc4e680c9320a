#include "core/compare/DiffRecord.h"

#include <QCoreApplication>

namespace brelix::compare {

QString changeKindCaption(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Changed:
        break;
    case ChangeKind::RowInserted:
        return QCoreApplication::translate("DiffRecord", "行挿入");
    case ChangeKind::RowDeleted:
        return QCoreApplication::translate("DiffRecord", "行削除");
    case ChangeKind::ColumnInserted:
        return QCoreApplication::translate("DiffRecord", "列挿入");
    case ChangeKind::ColumnDeleted:
        return QCoreApplication::translate("DiffRecord", "列削除");
    case ChangeKind::SheetInserted:
        return QCoreApplication::translate("DiffRecord", "シート挿入");
    case ChangeKind::SheetDeleted:
        return QCoreApplication::translate("DiffRecord", "シート削除");
    }
    return QCoreApplication::translate("DiffRecord", "変更");
}

QVariantList DiffRecord::alignedRow() const
{
    return row() << secondAddress << changeKindCaption(kind);
}

} // namespace brelix::compare
