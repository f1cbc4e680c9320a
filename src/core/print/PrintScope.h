#pragma once

#include <QString>
#include <optional>

namespace brelix::print {

// What each workbook of a batch print gives, by the index of its option button printScope.
enum class PrintScope {
    AllSheetsAllPages = 0,
    FirstSheetAllPages = 1,
    AllSheetsFirstPage = 2,
    FirstSheetFirstPage = 3,
};

// The scope of option index 0-3; nothing for any other index.
std::optional<PrintScope> printScopeOf(int index);

// The question that confirms a batch print of this scope.
QString confirmationText(PrintScope scope);

} // namespace brelix::print
