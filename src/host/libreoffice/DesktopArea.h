#pragma once

#include <QMargins>
#include <QRect>
#include <optional>

namespace brelix::libreoffice {

// What the X display the office shows its windows on tells about placing them, in pixels.
class DesktopArea {
public:
    // The window manager's work area (the screen less its panels), else the whole screen;
    // nothing without a display.
    static std::optional<QRect> workArea();
    // The frame the window manager puts around an ordinary window; none without one.
    static QMargins windowFrame();

private:
    static QMargins askWindowFrame();
};

} // namespace brelix::libreoffice
