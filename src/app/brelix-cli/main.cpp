#include "cli/BrelixCommands.h"
#include "core/files/ProgramFolderSetup.h"
#include "core/language/UiLanguage.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"
#include "host/libreoffice/ReadyOfficeKeeper.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

namespace {

int runCommand(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    brelix::language::installTranslation(brelix::language::processLanguage());
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTextStream in(stdin);
    // Messages only: every command still runs, and says what it cannot do.
    const auto setup = brelix::files::ProgramFolderSetup::run();
    for (const QString& line : setup.message().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        err << "brelix-cli: " << line << '\n';
    err.flush();

    using brelix::libreoffice::LibreOfficeHostFactory;
    using Display = brelix::libreoffice::OfficeOptions::Display;
    // A headless office ends where a visible one would be handed over: nothing stays running.
    // Both take the office kept ready by `office start`, when it is idle.
    brelix::libreoffice::OfficeOptions headlessOptions{Display::Headless};
    headlessOptions.takeReadyOffice = true;
    brelix::libreoffice::OfficeOptions visibleOptions{Display::Visible};
    visibleOptions.takeReadyOffice = true;
    LibreOfficeHostFactory headless(headlessOptions);
    LibreOfficeHostFactory visible(visibleOptions);
    brelix::libreoffice::ReadyOfficeKeeper readyOffice;

    brelix::cli::CliApplication cli;
    brelix::cli::addBrelixCommands(
        cli, headless,
        [&](bool show) -> brelix::host::SpreadsheetHostFactory& {
            return show ? visible : headless;
        },
        in, ::isatty(STDIN_FILENO) != 0, ::isatty(STDERR_FILENO) != 0, readyOffice);
    return cli.run(QCoreApplication::arguments(), out, err);
}

} // namespace

int main(int argc, char** argv)
{
    const int status = runCommand(argc, argv);
    // Our objects are gone and their offices ended; the threads of the office bridges may still be
    // winding down, and the libraries' teardown at exit raced them (a crash after the output, in
    // one run of about a hundred). Nothing there is left to do.
    std::fflush(nullptr);
    ::_exit(status);
}
