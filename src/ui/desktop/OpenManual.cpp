#include "ui/desktop/OpenManual.h"

#include "core/files/ProgramFolder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>

namespace brelix::ui {

QUrl manualUrl()
{
    // The manual in the language of the windows where it is there (the English page), else
    // the Japanese one.
    const QString own =
        files::programFile(QCoreApplication::translate("OpenManual", "Brelix.html"));
    return QUrl::fromLocalFile(
        QFileInfo::exists(own) ? own : files::programFile(QStringLiteral("Brelix.html")));
}

void openManual()
{
    // The desktop starts the browser and returns; there is nothing to wait for.
    QDesktopServices::openUrl(manualUrl());
}

} // namespace brelix::ui
