#pragma once

#include "cli/OfficeJobCommand.h"
#include "core/compare/DiffSettings.h"
#include "core/run/OfficeCount.h"

namespace brelix::cli {

// "diff FILE1 FILE2": the comparison of the compare button, with its checks, its endings and
// its change history "Brelix.xls" in the program's folder; the differing cells on stdout, the
// run's messages on stderr. Two folders are compared with `defaultOffices` at once unless --jobs
// says otherwise.
class DiffCommand : public OfficeJobCommand {
public:
    DiffCommand(FactoryFor factoryFor, bool progressLine, int defaultOffices = run::officeCount());

    // What the command line asks of the comparison.
    struct Options {
        compare::DiffSettings settings;
        JobOptions job;
        int offices = 1; // for two folders
    };
    // A status when the command ends here (its help, or a usage error).
    std::optional<int> parse(const QStringList& arguments, Options& options, QTextStream& out,
                             QTextStream& err) const;

    int run(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

protected:
    QString description() const override;
    QList<QCommandLineOption> options() const override;

private:
    int m_defaultOffices;
};

} // namespace brelix::cli
