#pragma once

#include <QWidget>

namespace brelix::ui {

// Takes Close off a window's title bar, so that the window closes only by its own buttons.
void removeCloseButton(QWidget* window);

} // namespace brelix::ui
