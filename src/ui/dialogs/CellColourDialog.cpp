#include "ui/dialogs/CellColourDialog.h"

#include "ui/desktop/StaysOnTop.h"
#include "ui/widgets/Twips.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <array>

namespace brelix::ui {

namespace {

struct Swatch {
    int index;
    QRgb colour; // the dialog's own colour; 44 shows orange although the palette's 44 is gold
    int left;
};

// Left to right, which is also the order "設定" tests them in.
constexpr std::array<Swatch, 6> kSwatches = {{{7, qRgb(255, 0, 255), 120},
                                              {44, qRgb(255, 128, 0), 600},
                                              {6, qRgb(255, 255, 0), 1080},
                                              {4, qRgb(0, 255, 0), 1560},
                                              {8, qRgb(0, 255, 255), 2040},
                                              {15, qRgb(192, 192, 192), 2520}}};

// Tab order after the frame: 8 comes before 4.
constexpr std::array<int, 6> kTabOrder = {7, 44, 6, 8, 4, 15};

} // namespace

CellColourDialog::CellColourDialog(QWidget* parent, int diffColor)
    : QDialog(parent), Frame1(new QGroupBox(QStringLiteral("比較背景色"), this)),
      m_diffColor(diffColor)
{
    setWindowTitle(QStringLiteral("設定"));
    QFont font = gothicFont();
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    setFont(font);
    setFixedSize(twips(3240), twips(1695));
    Frame1->setGeometry(twipsRect(120, 120, 3015, 975));

    auto* group = new QButtonGroup(this);
    for (const Swatch& swatch : kSwatches) {
        auto* option = new QRadioButton(Frame1);
        option->setGeometry(twipsRect(swatch.left, 360, 375, 375));
        QPalette palette = option->palette();
        palette.setColor(option->backgroundRole(), QColor(swatch.colour));
        option->setPalette(palette);
        option->setAutoFillBackground(true);
        group->addButton(option, swatch.index);
        optColor[swatch.index] = option;
    }
    optColor.at(7)->setChecked(true);
    // An index without a swatch (a hand-edited settings file) keeps the first one.
    if (const auto it = optColor.find(diffColor); it != optColor.end())
        it->second->setChecked(true);

    // Made after the swatches, so that the focus follows them.
    cmdOk = new QPushButton(QStringLiteral("設定"), this);
    cmdNg = new QPushButton(QStringLiteral("取消"), this);
    cmdOk->setGeometry(twipsRect(960, 1200, 975, 375));
    cmdNg->setGeometry(twipsRect(2160, 1200, 975, 375));
    // Neither button answers Enter unless it has the focus.
    cmdOk->setAutoDefault(false);
    cmdNg->setAutoDefault(false);

    for (size_t i = 1; i < kTabOrder.size(); ++i)
        setTabOrder(optColor.at(kTabOrder[i - 1]), optColor.at(kTabOrder[i]));

    connect(cmdOk, &QPushButton::clicked, this, &CellColourDialog::cmdOk_Click);
    connect(cmdNg, &QPushButton::clicked, this, &QDialog::reject);
    setStaysOnTop(this, true);
}

void CellColourDialog::cmdOk_Click()
{
    for (const Swatch& swatch : kSwatches)
        if (optColor.at(swatch.index)->isChecked()) {
            m_diffColor = swatch.index;
            break;
        }
    accept();
}

void CellColourDialog::keyPressEvent(QKeyEvent* event)
{
    // The dialog has no cancel button and no default button: Esc does nothing, and Enter
    // presses only the button that has the focus.
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

std::optional<int> CellColourDialog::ask(QWidget* parent, int diffColor)
{
    CellColourDialog dialog(parent, diffColor);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.diffColor();
}

} // namespace brelix::ui
