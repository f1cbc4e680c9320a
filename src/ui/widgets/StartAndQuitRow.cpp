#include "ui/widgets/StartAndQuitRow.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace brelix::ui {

QHBoxLayout* startAndQuitRow(std::initializer_list<QPushButton*> starts, QPushButton* quit)
{
    auto* row = new QHBoxLayout;
    const auto add = [row](QPushButton* button) {
        button->setMinimumHeight(button->fontMetrics().height() * 2);
        row->addWidget(button, 1);
    };
    for (QPushButton* start : starts)
        add(start);
    row->addSpacing(quit->fontMetrics().height() * 2);
    add(quit);
    return row;
}

} // namespace brelix::ui
