#include "ui/desktop/RemoveCloseButton.h"

namespace brelix::ui {

void removeCloseButton(QWidget* window)
{
    const bool wasVisible = window->isVisible();
    Qt::WindowFlags flags = window->windowFlags();
    // Without the customize hint the window manager adds the close button back.
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    flags &= ~Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    // Changing the flags hides a window.
    if (wasVisible)
        window->show();
}

} // namespace brelix::ui
