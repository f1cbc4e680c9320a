#pragma once

#include "core/host/SpreadsheetHostFactory.h"

#include <memory>

namespace brelix::cli {

// One instance for one command: started on construction, always quit on destruction, so no
// office is left running whatever way the command ends.
class HostSession {
public:
    // Throws HostError when no instance starts.
    explicit HostSession(host::SpreadsheetHostFactory& factory);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    host::SpreadsheetHost& host() { return *m_host; }

private:
    std::unique_ptr<host::SpreadsheetHost> m_host;
};

} // namespace brelix::cli
