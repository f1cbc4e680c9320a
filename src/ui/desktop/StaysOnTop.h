#pragma once

#include <QWidget>

namespace brelix::ui {

// Puts a window into the always-on-top band, or takes it out again, without activating it.
void setStaysOnTop(QWidget* window, bool on);

} // namespace brelix::ui
