#pragma once

#include "core/compare/LinePair.h"
#include "core/compare/SheetAlignment.h"

#include <QList>

namespace brelix::compare {

// Pairs the rows of two sheets by the texts of their key columns, whatever their places: the
// n-th row with a key in the first sheet pairs with the n-th row with that key in the second.
// Rows without any text take no part; a key whose cells are all empty is a key like any other.
// The pairs come as a comparison by key reports them: the first sheet's rows top to bottom
// (paired or deleted), then the second sheet's unpaired rows top to bottom (inserted).
class KeyedRowMatcher {
public:
    // Key columns count from 0, each sheet its own (they differ where columns were matched).
    static QList<LinePair> match(const SheetTexts& first, const SheetTexts& second,
                                 const QList<int>& firstKeyColumns,
                                 const QList<int>& secondKeyColumns);
};

} // namespace brelix::compare
