#pragma once

#include "cli/CliApplication.h"
#include "cli/CliCommand.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <memory>

namespace brelix::cli {

// "brelix-cli NAME ARGUMENTS" with this one command, started in `folder`, so that relative
// file names resolve there; what it writes to stdout and stderr lands in `out` and `err`.
inline int runCommandIn(const QString& folder, std::unique_ptr<CliCommand> command,
                        const QStringList& arguments, QString& out, QString& err)
{
    out.clear();
    err.clear();
    const QString name = command->name();
    CliApplication cli;
    cli.addCommand(std::move(command));
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);
    const int status =
        cli.run(QStringList{QStringLiteral("brelix-cli"), name} + arguments, outStream, errStream);
    QDir::setCurrent(before);
    return status;
}

} // namespace brelix::cli
