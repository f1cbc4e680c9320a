#include "core/print/PrintScope.h"

#include <QCoreApplication>

namespace brelix::print {

std::optional<PrintScope> printScopeOf(int index)
{
    if (index < 0 || index > 3)
        return std::nullopt;
    return static_cast<PrintScope>(index);
}

QString confirmationText(PrintScope scope)
{
    switch (scope) {
    case PrintScope::AllSheetsAllPages:
        return QCoreApplication::translate("PrintScope",
                                           "全シート、全ページを印刷しますが、宜しいですか？");
    case PrintScope::FirstSheetAllPages:
        return QCoreApplication::translate("PrintScope",
                                           "１シート、全ページを印刷しますが、宜しいですか？");
    case PrintScope::AllSheetsFirstPage:
        return QCoreApplication::translate("PrintScope",
                                           "全シート、１ページを印刷しますが、宜しいですか？");
    case PrintScope::FirstSheetFirstPage:
        return QCoreApplication::translate("PrintScope",
                                           "１シート、１ページを印刷しますが、宜しいですか？");
    }
    return QString();
}

} // namespace brelix::print
