#pragma once

#include "cli/CliCommand.h"
#include "core/host/SpreadsheetHostFactory.h"
#include "core/print/PrintOutcome.h"
#include "core/print/PrintRequest.h"

#include <optional>

namespace brelix::cli {

// "print FILE...": the batch print of the print button on the given files, with its question,
// its progress and its completion message on stderr.
class PrintCommand : public CliCommand {
public:
    // `in` answers the question unless --yes is given; `inputEchoed`: it is a terminal, which
    // shows the typed answer itself. `progressLine`: stderr is a terminal.
    PrintCommand(host::SpreadsheetHostFactory& factory, QTextStream& in, bool inputEchoed,
                 bool progressLine)
        : m_factory(factory), m_in(in), m_inputEchoed(inputEchoed), m_progressLine(progressLine)
    {
    }

    QString name() const override;
    QString summary() const override;
    QString help() const override;
    int run(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

private:
    struct Options {
        print::PrintRequest request;
        QString pdfFolder; // empty: the default printer, or what BRELIX_PDF_DIR says
        bool yes = false;
    };

    // An exit status when the command ends here (help or a usage error).
    std::optional<int> parse(const QStringList& arguments, Options& options, QTextStream& out,
                             QTextStream& err) const;
    static int exitStatus(const print::PrintOutcome& outcome);

    host::SpreadsheetHostFactory& m_factory;
    QTextStream& m_in;
    bool m_inputEchoed;
    bool m_progressLine;
};

} // namespace brelix::cli
