#pragma once

#include <QUrl>

namespace brelix::ui {

// The manual in the program's folder: Brelix.html, or its English page in English.
QUrl manualUrl();

// Opens the manual in the desktop's browser; a failure is ignored.
void openManual();

} // namespace brelix::ui
