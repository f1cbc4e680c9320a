#include "ui/dialogs/CellColourDialog.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/GothicFont.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

namespace brelix::ui {

namespace {

struct Swatch {
    int index;
    QRgb colour; // the dialog's own colour; 44 shows orange although the palette's 44 is gold
};

// Left to right, which is also the order "設定" tests them in.
constexpr std::array<Swatch, 6> kSwatches = {{{7, qRgb(255, 0, 255)},
                                              {44, qRgb(255, 128, 0)},
                                              {6, qRgb(255, 255, 0)},
                                              {4, qRgb(0, 255, 0)},
                                              {8, qRgb(0, 255, 255)},
                                              {15, qRgb(192, 192, 192)}}};

// Tab order: 8 comes before 4.
constexpr std::array<int, 6> kTabOrder = {7, 44, 6, 8, 4, 15};

} // namespace

CellColourDialog::CellColourDialog(QWidget* parent, int colourIndex)
    : QDialog(parent), m_colourIndex(colourIndex)
{
    setWindowTitle(QCoreApplication::translate("CellColourDialog", "設定", "title"));
    setFont(proportionalGothicFont());
    QGroupBox* swatchGroup = buildSwatchGroup();
    m_swatches.at(7)->setChecked(true);
    // An index without a swatch (a hand-edited settings file) keeps the first one.
    if (const auto it = m_swatches.find(colourIndex); it != m_swatches.end())
        it->second->setChecked(true);

    // Made after the swatches, so that the focus follows them.
    m_okButton =
        new QPushButton(QCoreApplication::translate("CellColourDialog", "設定", "button"), this);
    m_cancelButton = new QPushButton(QCoreApplication::translate("CellColourDialog", "取消"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_okButton);
    buttonRow->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(swatchGroup);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Neither button answers Enter unless it has the focus.
    m_okButton->setAutoDefault(false);
    m_cancelButton->setAutoDefault(false);

    for (size_t i = 1; i < kTabOrder.size(); ++i)
        setTabOrder(m_swatches.at(kTabOrder[i - 1]), m_swatches.at(kTabOrder[i]));

    connect(m_okButton, &QPushButton::clicked, this, &CellColourDialog::acceptChoice);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    setStaysOnTop(this, true);
}

QGroupBox* CellColourDialog::buildSwatchGroup()
{
    auto* swatchGroup =
        new QGroupBox(QCoreApplication::translate("CellColourDialog", "比較背景色"), this);
    swatchGroup->setObjectName(QStringLiteral("swatchGroup"));
    auto* swatchRow = new QHBoxLayout(swatchGroup);
    // Square swatches two characters wide, 25 pixels at the default font.
    const int side = fontMetrics().height() + 8;

    auto* buttons = new QButtonGroup(this);
    for (const Swatch& swatch : kSwatches) {
        auto* option = new QRadioButton(swatchGroup);
        option->setObjectName(QStringLiteral("swatch%1").arg(swatch.index));
        option->setFixedSize(side, side);
        swatchRow->addWidget(option);
        QPalette palette = option->palette();
        palette.setColor(option->backgroundRole(), QColor(swatch.colour));
        option->setPalette(palette);
        option->setAutoFillBackground(true);
        buttons->addButton(option, swatch.index);
        m_swatches[swatch.index] = option;
    }
    return swatchGroup;
}

void CellColourDialog::acceptChoice()
{
    for (const Swatch& swatch : kSwatches)
        if (m_swatches.at(swatch.index)->isChecked()) {
            m_colourIndex = swatch.index;
            break;
        }
    accept();
}

void CellColourDialog::keyPressEvent(QKeyEvent* event)
{
    // No button answers Esc and none is the default: Esc does nothing, and Enter presses only
    // the button that has the focus.
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

std::optional<int> CellColourDialog::ask(QWidget* parent, int colourIndex)
{
    CellColourDialog dialog(parent, colourIndex);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.colourIndex();
}

} // namespace brelix::ui
