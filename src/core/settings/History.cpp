#include "core/settings/History.h"

#include <algorithm>

namespace brelix::settings {

void History::pushFront(const QString& currentText, QStringList& items)
{
    QStringList earlier = items;
    const qsizetype found = earlier.indexOf(currentText);
    if (found >= 0)
        earlier.removeAt(found);

    items.clear();
    items.append(currentText);
    items.append(earlier.first(std::min(earlier.size(), Depth)));
}

} // namespace brelix::settings
