#include "MHomePage.h"

#include <QDesktopServices>

namespace brelix::ui {

void M_HomePage(const QUrl& page)
{
    // The desktop starts the browser and returns; there is nothing to wait for.
    QDesktopServices::openUrl(page);
}

} // namespace brelix::ui
