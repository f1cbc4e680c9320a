#pragma once

#include "cli/OfficeJobCommand.h"
#include "core/compare/DiffOutcome.h"
#include "core/compare/DiffSettings.h"

#include <optional>

namespace brelix::cli {

// "diff FILE1 FILE2": the comparison of the compare button, with its checks, its endings and
// its change history "Brelix.xls" in the program's folder; the differing cells on stdout, the
// run's messages on stderr.
class DiffCommand : public OfficeJobCommand {
public:
    using OfficeJobCommand::OfficeJobCommand;

    QString name() const override;
    QString summary() const override;
    QString help() const override;
    int run(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

private:
    struct Options {
        compare::DiffSettings settings;
        std::optional<QString> password;
        bool show = false;
    };

    // An exit status when the command ends here (help or a usage error).
    std::optional<int> parse(const QStringList& arguments, Options& options, QTextStream& out,
                             QTextStream& err) const;
    static int exitStatus(const compare::DiffOutcome& outcome);
};

} // namespace brelix::cli
