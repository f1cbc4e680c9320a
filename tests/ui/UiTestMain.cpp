#include <QApplication>
#include <gtest/gtest.h>

// Widgets need an application object; the tests run without a screen, whatever display the
// shell had.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("DISPLAY");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
