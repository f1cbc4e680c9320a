#include "ui/widgets/ComboHistory.h"

#include "core/settings/History.h"

#include <QComboBox>

namespace brelix::ui {

void pushCurrentTextToHistory(QComboBox* combo)
{
    const QString current = combo->currentText();
    QStringList items = comboItems(combo);
    settings::History::pushFront(current, items);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(0);
}

QStringList comboItems(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

} // namespace brelix::ui
