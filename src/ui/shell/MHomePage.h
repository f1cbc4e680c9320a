#pragma once

#include <QUrl>

namespace brelix::ui {

// Opens a page in the desktop's browser; a failure is ignored.
void M_HomePage(const QUrl& page);

} // namespace brelix::ui
