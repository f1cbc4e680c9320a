#include "ui/desktop/OpenWithDesktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace brelix::ui {

int openWithDesktop(const QString& target)
{
    // The desktop cannot tell a missing file from a missing program, so look first.
    if (!QFileInfo::exists(target))
        return 2;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target)) ? 0 : 2;
}

} // namespace brelix::ui
