#include "cli/CellsCommand.h"
#include "cli/CliApplication.h"
#include "cli/DiffCommand.h"
#include "cli/GrepCommand.h"
#include "cli/PrintCommand.h"
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

    const auto factoryFor = [&](bool show) -> brelix::host::SpreadsheetHostFactory& {
        return show ? visible : headless;
    };
    const bool progressLine = ::isatty(STDERR_FILENO) != 0;

    brelix::cli::CliApplication cli;
    cli.addCommand(std::make_unique<brelix::cli::CellsCommand>(headless));
    cli.addCommand(std::make_unique<brelix::cli::DiffCommand>(factoryFor, progressLine));
    cli.addCommand(std::make_unique<brelix::cli::GrepCommand>(factoryFor, progressLine));
    cli.addCommand(std::make_unique<brelix::cli::PrintCommand>(
        headless, in, ::isatty(STDIN_FILENO) != 0, progressLine));
    return cli.run(QCoreApplication::arguments(), out, err);
}
