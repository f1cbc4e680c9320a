#include "frmBrelix.h"

#include <QLabel>

namespace brelix::ui {

frmBrelix::frmBrelix(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Brelix - diff"));
    auto* label = new QLabel(QStringLiteral("Brelix"), this);
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    resize(420, 240);
}

} // namespace brelix::ui
