#pragma once

#include "cli/CliCommand.h"
#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/RunUi.h"

#include <functional>

namespace brelix::cli {

// A command that runs one of the window's jobs on an office chosen per run.
class OfficeJobCommand : public CliCommand {
public:
    // The factory of one run: `show` asks for an office that can be handed over visible; any
    // other must end with the run.
    using FactoryFor = std::function<host::SpreadsheetHostFactory&(bool show)>;

    // `progressLine`: stderr is a terminal, where the progress is one line redrawn in place.
    OfficeJobCommand(QString name, QString summary, QString usage, FactoryFor factoryFor,
                     bool progressLine)
        : CliCommand(std::move(name), std::move(summary), std::move(usage)),
          m_factoryFor(std::move(factoryFor)), m_progressLine(progressLine)
    {
    }

    // The options every job takes: --password PW and --show.
    struct JobOptions {
        std::optional<QString> password;
        bool show = false;
    };

    // The factory of a run's offices, whose calls wait as they come.
    host::SpreadsheetHostFactory& plainFactory(bool show) const { return m_factoryFor(show); }

protected:
    // --password PW, without which a protected sheet stops `job` ("comparison"), and --show,
    // which does what `show` says.
    static QList<QCommandLineOption> jobOptionList(const QString& job, const QString& show);
    static JobOptions jobOptions(const QCommandLineParser& parser);

    // The job with the office of one run and its typed-password holder.
    using Job = std::function<void(host::SpreadsheetHostFactory& factory, run::RunUi& ui,
                                   QString& typedPassword)>;
    // Runs `job` with the terminal as its screen: messages on `err`, the password of the
    // options for every prompt, Ctrl+C as its cancel button.
    void runJob(const JobOptions& options, QTextStream& err, const Job& job) const;

private:
    FactoryFor m_factoryFor;
    bool m_progressLine;
};

} // namespace brelix::cli
