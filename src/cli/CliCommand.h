#pragma once

#include "cli/CliText.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

class QCommandLineParser;

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
    // `usage`: the usage lines that open the help and follow a usage error.
    CliCommand(QString name, QString summary, QString usage)
        : m_name(std::move(name)), m_summary(std::move(summary)), m_usage(std::move(usage))
    {
    }
    virtual ~CliCommand() = default;

    QString name() const { return m_name; }
    // One line for the list of commands.
    QString summary() const { return m_summary; }
    // The full help: the usage lines, then what the command does.
    QString help() const { return m_usage + description(); }
    // The arguments after the command's name; returns the exit status.
    virtual int run(const QStringList& arguments, QTextStream& out, QTextStream& err) = 0;

protected:
    // The help after the usage lines, its options section from optionsHelp().
    virtual QString description() const = 0;
    // The command's own options with their descriptions, in the order of its help.
    virtual QList<QCommandLineOption> options() const = 0;
    // The options section of the help: options(), then -h, --help.
    QString optionsHelp(int column = kOptionColumn) const;

    // Reads `arguments` into `parser`, to which options() and -h/--help are added. A status
    // when the command ends at once: ExitSuccess after the help on `out`, or a usage error for
    // an unknown or incomplete option.
    std::optional<int> readArguments(QCommandLineParser& parser, const QStringList& arguments,
                                     QTextStream& out, QTextStream& err) const;
    // "brelix-cli NAME: PROBLEM" and the usage lines on `err`; returns ExitUsage.
    int usageError(const QString& problem, QTextStream& err) const;
    // --jobs N: the offices that work on the files at once, for `job` ("search").
    static QCommandLineOption jobsOption(const QString& job);
    // The number --jobs gives, or `defaultCount`; a usage error for any number but 1 to
    // run::kMostOffices, before any office starts.
    std::optional<int> readOfficeCount(const QCommandLineParser& parser, int defaultCount,
                                       int& count, QTextStream& err) const;
    // A usage error for the first of `files` that is a folder; nothing when none is.
    std::optional<int> refuseFolders(const QStringList& files, QTextStream& err) const;

private:
    QString m_name;
    QString m_summary;
    QString m_usage;
};

} // namespace brelix::cli
