#include "CellsCommand.h"
#include "CliApplication.h"
#include "LibreOfficeHostFactory.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    brelix::libreoffice::LibreOfficeHostFactory factory(
        {brelix::libreoffice::OfficeOptions::Display::Headless});
    brelix::cli::CliApplication cli;
    cli.addCommand(std::make_unique<brelix::cli::CellsCommand>(factory));
    return cli.run(QCoreApplication::arguments(), out, err);
}
