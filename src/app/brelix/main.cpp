#include "LibreOfficeHostFactory.h"
#include "shell/SecondInstance.h"
#include "shell/frmBrelix.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    brelix::ui::SecondInstance instance;
    if (instance.othersRunning()) {
        QMessageBox::critical(nullptr, QStringLiteral("エラー"), QStringLiteral("２重起動で～す"));
        return 1;
    }
    brelix::libreoffice::LibreOfficeHostFactory factory;
    const QStringList args = QCoreApplication::arguments();
    // The whole command line's text, as the test argument is compared with it.
    const QString argument = args.mid(1).join(QLatin1Char(' '));
    brelix::ui::frmBrelix window(factory, argument);
    window.show();
    return app.exec();
}
