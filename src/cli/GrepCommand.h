#pragma once

#include "cli/OfficeJobCommand.h"
#include "core/run/OfficeCount.h"
#include "core/search/SearchSettings.h"

namespace brelix::cli {

// "grep TEXT FILE...": the search of the search button over the given files, with its checks,
// its endings and its results "Brelix.xls" in the program's folder; the hits on stdout, the
// run's messages on stderr.
class GrepCommand : public OfficeJobCommand {
public:
    // `defaultOffices`: how many search at once without --jobs.
    GrepCommand(FactoryFor factoryFor, bool progressLine, int defaultOffices = run::officeCount());

    // What the command line asks of the search.
    struct Options {
        search::SearchSettings settings;
        JobOptions job;
        int offices = 1; // searching at once
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
