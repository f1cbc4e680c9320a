#include "ui/desktop/WindowTitles.h"
#include "ui/dialogs/PasswordDialog.h"
#include "ui/run/GuiRunUi.h"
#include "ui/run/ProgressBar.h"
#include "ui/run/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace brelix::ui {
namespace {

// Widgets need an application object; the tests run on the offscreen platform.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "ui_tests";
        static char* argv[] = {name, nullptr};
        // Widgets without a screen, whatever display the shell had.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qunsetenv("DISPLAY");
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] const auto* const s_environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

const QRgb kNavy = qRgb(0, 0, 128);
const QRgb kWhite = qRgb(255, 255, 255);

// The bar's inside (without its sunken panel) at a percentage.
QImage bar(int percent)
{
    ProgressBar widget;
    widget.resize(402, 22);
    QFont font;
    font.setPointSize(12);
    widget.setFont(font);
    widget.setPercent(percent);
    return widget.grab().toImage().copy(widget.contentsRect());
}

// How many pixels of a column band have exactly this colour.
int count(const QImage& image, int fromX, int toX, QRgb colour)
{
    int n = 0;
    for (int x = fromX; x < toX; ++x)
        for (int y = 0; y < image.height(); ++y)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    return n;
}

TEST(ProgressBar, NavyOnWhiteWithTheTextInvertedInsideTheBar)
{
    const QImage empty = bar(0);
    ASSERT_EQ(empty.size(), QSize(400, 20));
    EXPECT_EQ(count(empty, 0, 150, kWhite), 150 * 20); // left of the text: all white
    EXPECT_GT(count(empty, 180, 220, kNavy), 0);       // the text, navy

    const QImage half = bar(50);
    EXPECT_EQ(count(half, 0, 150, kNavy), 150 * 20);
    EXPECT_EQ(count(half, 250, 400, kWhite), 150 * 20);
    EXPECT_GT(count(half, 170, 200, kWhite), 0); // text inside the bar turns white
    EXPECT_GT(count(half, 200, 230, kNavy), 0);  // and stays navy outside

    const QImage full = bar(100);
    EXPECT_EQ(count(full, 0, 150, kNavy), 150 * 20);
    EXPECT_GT(count(full, 170, 230, kWhite), 0);
}

TEST(ProgressWindow, CancelSetsTheFlagThatTheRunReads)
{
    GuiRunUi ui(nullptr, false);
    ui.showProgress(u"Excel起動中"_s);
    ui.clearCancel();
    EXPECT_FALSE(ui.cancelRequested());
    ui.setCancelEnabled(true);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* progress = qobject_cast<ProgressWindow*>(w)) {
            EXPECT_EQ(progress->findChild<QLabel*>(u"status"_s)->text(), u"Excel起動中"_s);
            auto* cancel = progress->findChild<QPushButton*>(u"cancelButton"_s);
            cancel->click();
            cancel->click();
        }
    ui.processEvents();
    EXPECT_TRUE(ui.cancelRequested());
    ui.closeProgress();
    EXPECT_TRUE(ui.cancelRequested()); // until the next run clears it
    ui.clearCancel();
    EXPECT_FALSE(ui.cancelRequested());
}

TEST(PasswordPrompt, OffersThePasswordTypedLastSelected)
{
    PasswordDialog first(nullptr, u"a.xls"_s, QString());
    EXPECT_EQ(first.lblFile->text(), u"ﾌｧｲﾙ名　： a.xls"_s);
    EXPECT_TRUE(first.txtPass->text().isEmpty());
    EXPECT_EQ(first.txtPass->echoMode(), QLineEdit::Password);

    PasswordDialog again(nullptr, u"b.xls"_s, u"himitsu"_s);
    EXPECT_EQ(again.txtPass->text(), u"himitsu"_s);
    EXPECT_EQ(again.txtPass->selectedText(), u"himitsu"_s);

    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget())) {
            dialog->txtPass->setText(u"new"_s);
            dialog->cmdOk->click();
        }
    });
    EXPECT_EQ(PasswordDialog::ask(nullptr, u"c.xls"_s, u"old"_s), std::optional<QString>(u"new"_s));
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget()))
            dialog->cmdCancel->click();
    });
    EXPECT_EQ(PasswordDialog::ask(nullptr, u"c.xls"_s, u"old"_s), std::nullopt);
}

// Run by ctest without a display (see the build files); the X11 case runs under Xvfb.
TEST(WindowTitles, NoDisplayMeansNoWindow)
{
    qunsetenv("DISPLAY");
    EXPECT_FALSE(windowTitleExists(u"Microsoft Excel"_s));
    EXPECT_TRUE(topLevelWindowTitles().isEmpty());
}

} // namespace
} // namespace brelix::ui
