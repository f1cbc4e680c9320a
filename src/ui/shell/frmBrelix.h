#pragma once

#include <QMainWindow>

namespace brelix::ui {

// The main window. For now a plain window that shows the program runs.
class frmBrelix : public QMainWindow {
    Q_OBJECT
public:
    explicit frmBrelix(QWidget* parent = nullptr);
};

} // namespace brelix::ui
