#include "cli/OfficeJobCommand.h"

#include "cli/TerminalRunUi.h"
#include "core/run/ResponsiveHostFactory.h"

#include <QCommandLineParser>
#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace brelix::cli {

QList<QCommandLineOption> OfficeJobCommand::jobOptionList(const QString& job, const QString& show)
{
    return {
        QCommandLineOption(
            u"password"_s,
            QCoreApplication::translate(
                "OfficeJobCommand",
                "the password of protected sheets, given to every prompt; without it a\n"
                "protected sheet stops the %1")
                .arg(job),
            u"PW"_s),
        QCommandLineOption(u"show"_s, show),
    };
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
