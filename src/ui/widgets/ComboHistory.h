#pragma once

#include <QStringList>

class QComboBox;

namespace brelix::ui {

// Puts the combo's current text at the head of its items (see History::pushFront) and selects
// it.
void pushCurrentTextToHistory(QComboBox* combo);

// The combo's items, in their order.
QStringList comboItems(const QComboBox* combo);

} // namespace brelix::ui
