#include "core/compare/DiffRecord.h"

namespace brelix::compare {

QString changeKindCaption(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Changed:
        break;
    case ChangeKind::RowInserted:
        return QStringLiteral("行挿入");
    case ChangeKind::RowDeleted:
        return QStringLiteral("行削除");
    case ChangeKind::ColumnInserted:
        return QStringLiteral("列挿入");
    case ChangeKind::ColumnDeleted:
        return QStringLiteral("列削除");
    case ChangeKind::SheetInserted:
        return QStringLiteral("シート挿入");
    case ChangeKind::SheetDeleted:
        return QStringLiteral("シート削除");
    }
    return QStringLiteral("変更");
}

QVariantList DiffRecord::alignedRow() const
{
    return row() << secondAddress << changeKindCaption(kind);
}

} // namespace brelix::compare
