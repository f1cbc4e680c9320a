#include "ui/desktop/OpenPage.h"

#include <QDesktopServices>

namespace brelix::ui {

void openPage(const QUrl& page)
{
    // The desktop starts the browser and returns; there is nothing to wait for.
    QDesktopServices::openUrl(page);
}

} // namespace brelix::ui
