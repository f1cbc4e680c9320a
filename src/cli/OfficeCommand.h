#pragma once

#include "cli/CliCommand.h"
#include "core/host/ReadyOfficeService.h"

namespace brelix::cli {

// "office start|stop|status": the office kept ready in the background for later commands.
class OfficeCommand : public CliCommand {
public:
    static constexpr int kDefaultIdleMinutes = 15;

    explicit OfficeCommand(host::ReadyOfficeService& service);

    int run(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

protected:
    QString description() const override;
    QList<QCommandLineOption> options() const override;

private:
    int start(int idleMinutes, bool foreground, QTextStream& out, QTextStream& err);
    int status(QTextStream& out);
    // The keeper as a process of its own, in a session of its own: the terminal's Ctrl+C and
    // hang-up are not for it.
    static qint64 startInBackground(int idleMinutes);

    host::ReadyOfficeService& m_service;
};

} // namespace brelix::cli
