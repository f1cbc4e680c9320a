#pragma once

#include <QString>

namespace brelix::ui {

// Opens a file with the desktop's default action: 2 when the file does not exist or no program
// takes it, else 0.
int openWithDesktop(const QString& target);

} // namespace brelix::ui
