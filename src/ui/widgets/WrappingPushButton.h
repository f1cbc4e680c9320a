#pragma once

#include <QPushButton>

namespace brelix::ui {

// A push button whose caption takes two lines, so that a narrow button shows all of a long
// caption; its size hint is that of the two lines.
class WrappingPushButton : public QPushButton {
public:
    using QPushButton::QPushButton;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace brelix::ui
