#pragma once

#include <QFrame>
#include <optional>

namespace brelix::ui {

// A percentage bar in a sunken panel: navy on white with the percentage centred, the part of
// the text inside the bar white on navy. Until the first percentage it shows nothing.
class ProgressBar : public QFrame {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    // Beyond 100 the bar stays full; the text shows the number as given.
    void setPercent(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<int> m_percent;
};

} // namespace brelix::ui
