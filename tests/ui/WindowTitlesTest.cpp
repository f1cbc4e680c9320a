#include "ui/desktop/WindowTitles.h"

#include <QApplication>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// On a display of its own (see the build files): a real X11 window found by its title.
TEST(WindowTitles, ATopLevelWindowIsFoundByPartOfItsTitleIgnoringCase)
{
    int argc = 1;
    char name[] = "ui_x11_tests";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    EXPECT_FALSE(brelix::ui::windowTitleExists(u"Microsoft Excel"_s));

    QWidget window;
    window.setWindowTitle(u"Book1.xls - MICROSOFT excel"_s);
    window.show();
    for (int i = 0; i < 50 && !brelix::ui::windowTitleExists(u"Book1.xls"_s); ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    EXPECT_TRUE(brelix::ui::windowTitleExists(u"Microsoft Excel"_s));
    EXPECT_TRUE(brelix::ui::topLevelWindowTitles().contains(u"Book1.xls - MICROSOFT excel"_s));
}
