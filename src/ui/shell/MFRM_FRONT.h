#pragma once

#include <QWidget>

namespace brelix::ui {

// Puts a window into the always-on-top band, or with `release` takes it out again, without
// activating it.
void M_FrmFront(QWidget* window, bool release);

} // namespace brelix::ui
