#pragma once

#include <QUrl>

namespace brelix::ui {

// The manual, Brelix.html in the program's folder.
QUrl manualUrl();

// Opens the manual in the desktop's browser; a failure is ignored.
void openManual();

} // namespace brelix::ui
