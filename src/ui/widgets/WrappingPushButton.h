#pragma once

#include <QPushButton>

namespace brelix::ui {

// A push button whose caption breaks onto more lines when it is wider than the button, so that
// a narrow button shows all of a long caption.
class WrappingPushButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace brelix::ui
