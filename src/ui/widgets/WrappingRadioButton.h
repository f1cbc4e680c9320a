#pragma once

#include <QRadioButton>

namespace brelix::ui {

// An option button whose caption breaks onto a second line beside its circle when it is wider
// than the button, so that the narrow print scopes show all of their captions.
class WrappingRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace brelix::ui
