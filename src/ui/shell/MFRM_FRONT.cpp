#include "MFRM_FRONT.h"

namespace brelix::ui {

void M_FrmFront(QWidget* window, bool release)
{
    const bool wasVisible = window->isVisible();
    window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    window->setWindowFlag(Qt::WindowStaysOnTopHint, !release);
    // Changing the flags hides a window; it comes back where it was.
    if (wasVisible)
        window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

} // namespace brelix::ui
