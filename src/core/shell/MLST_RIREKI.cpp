#include "MLST_RIREKI.h"

#include <algorithm>

namespace brelix::shell {

void M_LstRireki(const QString& currentText, QStringList& items)
{
    QStringList earlier = items;
    const qsizetype found = earlier.indexOf(currentText);
    if (found >= 0)
        earlier.removeAt(found);

    items.clear();
    items.append(currentText);
    items.append(earlier.first(std::min(earlier.size(), HistoryDepth)));
}

} // namespace brelix::shell
