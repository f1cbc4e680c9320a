#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace brelix::cli {

// Exit statuses shared by every command.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitFailure = 1, // the spreadsheet application failed
    ExitUsage = 2,   // bad arguments, or an input that cannot be opened
};

// One subcommand of brelix-cli.
class CliCommand {
public:
    virtual ~CliCommand() = default;

    virtual QString name() const = 0;
    // One line for the list of commands.
    virtual QString summary() const = 0;
    // The full help, starting with the command's usage line.
    virtual QString help() const = 0;
    // The arguments after the command's name; returns the exit status.
    virtual int run(const QStringList& arguments, QTextStream& out, QTextStream& err) = 0;
};

} // namespace brelix::cli
