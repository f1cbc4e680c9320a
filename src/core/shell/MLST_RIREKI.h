#pragma once

#include <QString>
#include <QStringList>

namespace brelix::shell {

// How many earlier entries a history keeps behind its current text.
inline constexpr qsizetype HistoryDepth = 5;

// The history update of a combo box: `items` becomes `currentText` followed by the first five
// of the other entries in their order. Only the first entry equal to `currentText` (letter case
// counts) is left out, so a history loaded longer than that is trimmed here. The caller then
// selects entry 0.
void M_LstRireki(const QString& currentText, QStringList& items);

} // namespace brelix::shell
