#pragma once

#include <QRadioButton>

namespace brelix::ui {

// An option button whose caption takes two lines beside its circle, so that the narrow print
// scopes show all of their captions; its size hint is that of the two lines.
class WrappingRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    int lineStep() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace brelix::ui
