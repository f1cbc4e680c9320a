#pragma once

#include <initializer_list>

class QHBoxLayout;
class QPushButton;

namespace brelix::ui {

// The start and quit buttons at the foot of a screen: equally wide, two lines tall, with a gap
// between them. Of several start buttons the screen shows one at a time.
QHBoxLayout* startAndQuitRow(std::initializer_list<QPushButton*> starts, QPushButton* quit);

} // namespace brelix::ui
