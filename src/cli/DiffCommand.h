#pragma once

#include "cli/OfficeJobCommand.h"
#include "core/compare/DiffSettings.h"

namespace brelix::cli {

// "diff FILE1 FILE2": the comparison of the compare button, with its checks, its endings and
// its change history "Brelix.xls" in the program's folder; the differing cells on stdout, the
// run's messages on stderr.
class DiffCommand : public OfficeJobCommand {
public:
    DiffCommand(FactoryFor factoryFor, bool progressLine);

    // What the command line asks of the comparison.
    struct Options {
        compare::DiffSettings settings;
        JobOptions job;
    };
    // A status when the command ends here (its help, or a usage error).
    std::optional<int> parse(const QStringList& arguments, Options& options, QTextStream& out,
                             QTextStream& err) const;

    int run(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

protected:
    QString description() const override;
    QList<QCommandLineOption> options() const override;
};

} // namespace brelix::cli
