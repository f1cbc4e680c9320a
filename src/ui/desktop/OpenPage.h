#pragma once

#include <QUrl>

namespace brelix::ui {

// Opens a page in the desktop's browser; a failure is ignored.
void openPage(const QUrl& page);

} // namespace brelix::ui
