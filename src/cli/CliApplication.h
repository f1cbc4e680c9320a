#pragma once

#include "cli/CliCommand.h"

#include <memory>
#include <vector>

namespace brelix::cli {

// brelix-cli's dispatcher: picks the command named by the first argument and runs it.
class CliApplication {
public:
    void addCommand(std::unique_ptr<CliCommand> command);

    // arguments[0] is the program, as QCoreApplication::arguments() gives them.
    int run(const QStringList& arguments, QTextStream& out, QTextStream& err);
    QString usage() const;

private:
    CliCommand* find(const QString& name) const;

    std::vector<std::unique_ptr<CliCommand>> m_commands;
};

} // namespace brelix::cli
