#include "ui/desktop/StaysOnTop.h"

namespace brelix::ui {

void setStaysOnTop(QWidget* window, bool on)
{
    const bool wasVisible = window->isVisible();
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing the flags hides a window; it comes back where it was.
    if (wasVisible)
        window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

} // namespace brelix::ui
