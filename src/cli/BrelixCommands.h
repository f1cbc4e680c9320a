#pragma once

#include "cli/CliApplication.h"
#include "cli/OfficeJobCommand.h"
#include "core/host/ReadyOfficeService.h"
#include "core/run/OfficeCount.h"

namespace brelix::cli {

// Every command of brelix-cli, in the order its usage lists them. cells and print run on
// `office`; diff and grep on the office `factoryFor` gives for each run. `in` answers print's
// question (`inputEchoed`: it is a terminal); `progressLine`: stderr is a terminal. The office
// command keeps `readyOffice`. grep, print and diff of two folders work with `defaultOffices` at
// once unless --jobs says otherwise.
void addBrelixCommands(CliApplication& cli, host::SpreadsheetHostFactory& office,
                       const OfficeJobCommand::FactoryFor& factoryFor, QTextStream& in,
                       bool inputEchoed, bool progressLine, host::ReadyOfficeService& readyOffice,
                       int defaultOffices = run::officeCount());

} // namespace brelix::cli
