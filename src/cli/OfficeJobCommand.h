#pragma once

#include "cli/CliCommand.h"
#include "core/host/SpreadsheetHostFactory.h"

#include <functional>

namespace brelix::cli {

// A command that runs one of the window's jobs on an office chosen per run.
class OfficeJobCommand : public CliCommand {
public:
    // The factory of one run: `show` asks for an office that can be handed over visible; any
    // other must end with the run.
    using FactoryFor = std::function<host::SpreadsheetHostFactory&(bool show)>;

    // `progressLine`: stderr is a terminal, where the progress is one line redrawn in place.
    OfficeJobCommand(FactoryFor factoryFor, bool progressLine)
        : m_factoryFor(std::move(factoryFor)), m_progressLine(progressLine)
    {
    }

protected:
    FactoryFor m_factoryFor;
    bool m_progressLine;
};

} // namespace brelix::cli
