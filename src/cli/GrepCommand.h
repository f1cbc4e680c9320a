#pragma once

#include "CliCommand.h"
#include "host/SpreadsheetHostFactory.h"
#include "search/SearchOutcome.h"
#include "search/SearchSettings.h"

#include <functional>
#include <optional>

namespace brelix::cli {

// "grep TEXT FILE...": the search of the search button over the given files, with its checks,
// its endings and its results "Brelix.xls" in the program's folder; the hits on stdout, the
// run's messages on stderr.
class GrepCommand : public CliCommand {
public:
    // The factory of one run: `show` asks for an office that can be handed over visible; any
    // other must end with the run.
    using FactoryFor = std::function<host::SpreadsheetHostFactory&(bool show)>;

    // `progressLine`: stderr is a terminal, where the progress is one line redrawn in place.
    GrepCommand(FactoryFor factoryFor, bool progressLine)
        : m_factoryFor(std::move(factoryFor)), m_progressLine(progressLine)
    {
    }

    QString name() const override;
    QString summary() const override;
    QString help() const override;
    int run(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

private:
    struct Options {
        search::SearchSettings settings;
        std::optional<QString> password;
        bool show = false;
    };

    // An exit status when the command ends here (help or a usage error).
    std::optional<int> parse(const QStringList& arguments, Options& options, QTextStream& out,
                             QTextStream& err) const;
    static int exitStatus(const search::SearchOutcome& outcome);

    FactoryFor m_factoryFor;
    bool m_progressLine;
};

} // namespace brelix::cli
