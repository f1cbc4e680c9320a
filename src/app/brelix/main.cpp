#include "core/files/ProgramFolderSetup.h"
#include "core/language/UiLanguage.h"
#include "core/run/ReadyOfficeFactory.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"
#include "ui/desktop/SingleInstanceLock.h"
#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <cstdio>
#include <unistd.h>

namespace {

int runWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    brelix::language::installTranslation(brelix::language::processLanguage());
    // Lets the desktop match the windows with brelix.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("brelix"));
    brelix::ui::SingleInstanceLock lock;
    if (lock.anotherRunning()) {
        QMessageBox::critical(nullptr, QCoreApplication::translate("main", "エラー"),
                              QCoreApplication::translate("main", "２重起動で～す"));
        return 1;
    }
    // Before the settings are read: they may live in the folder made here.
    const auto setup = brelix::files::ProgramFolderSetup::run();
    if (!setup.problems().isEmpty())
        QMessageBox::warning(nullptr, setup.title(),
                             setup.message().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    brelix::libreoffice::LibreOfficeHostFactory office;
    // Outlives the window: it quits the idle office when the program ends.
    brelix::run::ReadyOfficeFactory factory(office);
    const QStringList args = QCoreApplication::arguments();
    // The whole command line's text, as the test argument is compared with it.
    const QString argument = args.mid(1).join(QLatin1Char(' '));
    brelix::ui::MainWindow window(factory, argument);
    window.show();
    window.keepOfficeReady(factory);
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    const int status = runWindow(argc, argv);
    // As in brelix-cli: the libraries' teardown at exit may race the office bridges' threads.
    std::fflush(nullptr);
    ::_exit(status);
}
