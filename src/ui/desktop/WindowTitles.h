#pragma once

#include <QString>
#include <QStringList>

namespace brelix::ui {

// Is a top-level window open whose title contains the text, ignoring case? Without an X11
// display no window is found.
bool windowTitleExists(const QString& part);

// The titles of the top-level windows the window manager lists (or the root's children when
// there is none).
QStringList topLevelWindowTitles();

} // namespace brelix::ui
