#include "cli/BrelixCommands.h"

#include "cli/CellsCommand.h"
#include "cli/DiffCommand.h"
#include "cli/GrepCommand.h"
#include "cli/OfficeCommand.h"
#include "cli/PrintCommand.h"

namespace brelix::cli {

void addBrelixCommands(CliApplication& cli, host::SpreadsheetHostFactory& office,
                       const OfficeJobCommand::FactoryFor& factoryFor, QTextStream& in,
                       bool inputEchoed, bool progressLine, host::ReadyOfficeService& readyOffice,
                       int defaultOffices)
{
    cli.addCommand(std::make_unique<CellsCommand>(office));
    cli.addCommand(std::make_unique<DiffCommand>(factoryFor, progressLine, defaultOffices));
    cli.addCommand(std::make_unique<GrepCommand>(factoryFor, progressLine, defaultOffices));
    cli.addCommand(
        std::make_unique<PrintCommand>(office, in, inputEchoed, progressLine, defaultOffices));
    cli.addCommand(std::make_unique<OfficeCommand>(readyOffice));
}

} // namespace brelix::cli
