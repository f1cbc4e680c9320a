#pragma once

#include "cli/OfficeJobCommand.h"
#include "core/search/SearchOutcome.h"
#include "core/search/SearchSettings.h"

#include <optional>

namespace brelix::cli {

// "grep TEXT FILE...": the search of the search button over the given files, with its checks,
// its endings and its results "Brelix.xls" in the program's folder; the hits on stdout, the
// run's messages on stderr.
class GrepCommand : public OfficeJobCommand {
public:
    using OfficeJobCommand::OfficeJobCommand;

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
};

} // namespace brelix::cli
