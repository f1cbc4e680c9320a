#include "cli/BrelixCommands.h"
#include "core/files/ProgramFolderSetup.h"
#include "host/libreoffice/LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
    LibreOfficeHostFactory headless({Display::Headless});
    LibreOfficeHostFactory visible({Display::Visible});

    brelix::cli::CliApplication cli;
    brelix::cli::addBrelixCommands(
        cli, headless,
        [&](bool show) -> brelix::host::SpreadsheetHostFactory& {
            return show ? visible : headless;
        },
        in, ::isatty(STDIN_FILENO) != 0, ::isatty(STDERR_FILENO) != 0);
    return cli.run(QCoreApplication::arguments(), out, err);
}
