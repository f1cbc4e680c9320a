#pragma once

#include <QRadioButton>

namespace brelix::ui {

// An option button whose caption breaks onto a second line beside its circle when it is wider
// than the button, as the narrow print-scope options were laid out.
class WrappingRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace brelix::ui
