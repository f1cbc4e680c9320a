#pragma once

#include <QString>
#include <QStringList>

namespace brelix::settings {

// The folder and search-text histories: the text used last first, then up to five earlier ones.
class History {
public:
    // How many earlier entries a history keeps behind its current text.
    static constexpr qsizetype Depth = 5;

    // `items` becomes `currentText` followed by the first five of the other entries in their
    // order. Only the first entry equal to `currentText` (letter case counts) is left out. The
    // caller then selects entry 0.
    static void pushFront(const QString& currentText, QStringList& items);
};

} // namespace brelix::settings
