#pragma once

#include <QLabel>

namespace brelix::ui {

// A label of plain lines drawn a fixed number of pixels apart, whatever face the font falls
// back to: a taller face's own line spacing would push the lower lines out of place.
class FixedPitchLabel : public QLabel {
    Q_OBJECT
public:
    FixedPitchLabel(int pitch, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_pitch;
};

} // namespace brelix::ui
