#pragma once

#include "cli/CliCommand.h"
#include "core/host/SpreadsheetHostFactory.h"
#include "core/print/PrintRequest.h"
#include "core/run/OfficeCount.h"

namespace brelix::cli {

// "print FILE...": the batch print of the print button on the given files, with its question,
// its progress and its completion message on stderr.
class PrintCommand : public CliCommand {
public:
    // `in` answers the question unless --yes is given; `inputEchoed`: it is a terminal, which
    // shows the typed answer itself. `progressLine`: stderr is a terminal.
    // `defaultOffices`: how many print at once without --jobs.
    PrintCommand(host::SpreadsheetHostFactory& factory, QTextStream& in, bool inputEchoed,
                 bool progressLine, int defaultOffices = run::officeCount());

    // What the command line asks of the batch print.
    struct Options {
        print::PrintRequest request;
        QString pdfFolder; // empty: the default printer, or what BRELIX_PDF_DIR says
        bool yes = false;
        int offices = 1; // printing at once
    };
    // A status when the command ends here (its help, or a usage error).
    std::optional<int> parse(const QStringList& arguments, Options& options, QTextStream& out,
                             QTextStream& err) const;

    int run(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

protected:
    QString description() const override;
    QList<QCommandLineOption> options() const override;

private:
    host::SpreadsheetHostFactory& m_factory;
    QTextStream& m_in;
    bool m_inputEchoed;
    bool m_progressLine;
    int m_defaultOffices;
};

} // namespace brelix::cli
