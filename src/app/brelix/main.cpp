#include "shell/frmBrelix.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    brelix::ui::frmBrelix window;
    window.show();
    return app.exec();
}
