#include "ui/desktop/OpenManual.h"

#include "core/files/ProgramFolder.h"

#include <QDesktopServices>

namespace brelix::ui {

QUrl manualUrl()
{
    return QUrl::fromLocalFile(files::programFile(QStringLiteral("Brelix.html")));
}

void openManual()
{
    // The desktop starts the browser and returns; there is nothing to wait for.
    QDesktopServices::openUrl(manualUrl());
}

} // namespace brelix::ui
