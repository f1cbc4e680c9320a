#include "cli/OfficeJobCommand.h"

#include "cli/TerminalRunUi.h"
#include "core/run/ResponsiveHostFactory.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace brelix::cli {

void OfficeJobCommand::addJobOptions(QCommandLineParser& parser)
{
    parser.addOptions(
        {QCommandLineOption(u"password"_s, QString(), u"PW"_s), QCommandLineOption(u"show"_s)});
}

OfficeJobCommand::JobOptions OfficeJobCommand::jobOptions(const QCommandLineParser& parser)
{
    JobOptions options;
    if (parser.isSet(u"password"_s))
        options.password = parser.value(u"password"_s);
    options.show = parser.isSet(u"show"_s);
    return options;
}

void OfficeJobCommand::runJob(const JobOptions& options, QTextStream& err, const Job& job) const
{
    TerminalRunUi ui(err, m_progressLine, options.password);
    QString typedPassword;
    const InterruptWatch interrupts;
    // Host calls wait where Ctrl+C can still end a stuck office.
    run::ResponsiveHostFactory factory(m_factoryFor(options.show), ui);
    job(factory, ui, typedPassword);
}

} // namespace brelix::cli
