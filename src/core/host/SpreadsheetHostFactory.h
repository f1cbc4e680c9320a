#pragma once

#include "core/host/SpreadsheetHost.h"

#include <memory>

namespace brelix::host {

// Starts a new private instance for a run; throws HostError (StartFailed) when none starts.
class SpreadsheetHostFactory {
public:
    virtual ~SpreadsheetHostFactory() = default;
    virtual std::unique_ptr<SpreadsheetHost> start() = 0;
    // An instance for a job that opens two workbooks with openWorkbooks(): where two idle
    // instances are at hand, one host over both, which loads the two side by side.
    virtual std::unique_ptr<SpreadsheetHost> startForTwoWorkbooks() { return start(); }
    // Is an instance that a run handed over to the user still open? It may show the results
    // workbook and the workbooks a new run would open. The user's own office never counts.
    virtual bool handedOverInstanceOpen() = 0;
    // The system and the application the instances run on, as their user would name them
    // ("Debian GNU/Linux 12 (bookworm)、LibreOffice 7.4.7.2"); empty when unknown.
    virtual QString environment() { return {}; }

    // Stops the instance that start() is starting now, from any thread, so that start() fails
    // at once instead of waiting on an instance that is stuck.
    virtual void abandonStart() {}
};

} // namespace brelix::host
