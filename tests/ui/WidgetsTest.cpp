#include "UiTestHelpers.h"
#include "ui/run/GuiRunUi.h"
#include "ui/run/ProgressBar.h"
#include "ui/run/ProgressWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace brelix::ui {
namespace {

TEST(ProgressBar, NavyOnWhiteWithTheTextInvertedInsideTheBar)
{
    const QRgb navy = qRgb(0, 0, 128);
    const QRgb white = qRgb(255, 255, 255);
    // Per percentage, a band of columns of the 400 x 20 inside, a colour and whether every
    // pixel of the band has it or only some (the text's).
    const std::vector<std::tuple<int, int, int, QRgb, bool>> bands = {
        {0, 0, 150, white, true},    {0, 180, 220, navy, false},    {50, 0, 150, navy, true},
        {50, 250, 400, white, true}, {50, 170, 200, white, false},  {50, 200, 230, navy, false},
        {100, 0, 150, navy, true},   {100, 170, 230, white, false}, {150, 0, 150, navy, true}};
    for (const auto& [percent, from, to, colour, all] : bands) {
        ProgressBar bar;
        bar.resize(402, 22); // within a one-pixel panel
        QFont font;
        font.setPointSize(12);
        bar.setFont(font);
        bar.setPercent(percent);
        const QImage image = bar.grab().toImage().copy(bar.contentsRect());
        int count = 0;
        for (int x = from; x < to; ++x)
            for (int y = 0; y < image.height(); ++y)
                count += image.pixel(x, y) == colour ? 1 : 0;
        EXPECT_TRUE(all ? count == (to - from) * image.height() : count > 0)
            << percent << "% from " << from;
    }
}

TEST(ProgressWindow, CancelSetsTheFlagThatTheRunReadsUntilItIsCleared)
{
    GuiRunUi ui(nullptr, false);
    ui.showProgress(u"Excel起動中"_s);
    ui.setCancelEnabled(true);
    EXPECT_FALSE(ui.cancelRequested());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<ProgressWindow*>(w))
            find<QPushButton>(*w, u"cancelButton"_s)->click();
    ui.processEvents();
    EXPECT_TRUE(ui.cancelRequested());
    ui.closeProgress();
    EXPECT_TRUE(ui.cancelRequested()); // until the next run clears it
    ui.clearCancel();
    EXPECT_FALSE(ui.cancelRequested());
}

TEST(ProgressWindow, EscapeLeavesItOpenWithItsCancelButton)
{
    ProgressWindow window(nullptr, false);
    window.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    EXPECT_TRUE(window.isVisible());
}

} // namespace
} // namespace brelix::ui
