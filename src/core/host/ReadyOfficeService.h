#pragma once

#include <QtGlobal>
#include <chrono>

namespace brelix::host {

// The office the command line keeps ready in a background process of its own, one for each
// user and program folder. A command takes the idle office instead of starting one; the
// background process then starts the next.
class ReadyOfficeService {
public:
    struct Status {
        qint64 keeperProcess = 0; // 0: no background process runs
        qint64 officeProcess = 0; // 0: no office is idle and ready just now
        qint64 memoryKiB = 0;     // of the idle office and every process it started
    };

    virtual ~ReadyOfficeService() = default;
    // Keeps an office ready from this process until stopped or idle for `idleTimeout`. False
    // when another process keeps one already or no office starts.
    virtual bool keep(std::chrono::seconds idleTimeout) = 0;
    virtual Status status() = 0;
    // Ends the background process and its idle office; false when none ran.
    virtual bool stop() = 0;
};

} // namespace brelix::host
