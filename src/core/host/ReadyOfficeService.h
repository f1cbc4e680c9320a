#pragma once

#include <QList>
#include <QtGlobal>
#include <chrono>

namespace brelix::host {

// The offices the command line keeps ready in a background process of its own, for each user
// and program folder. A command takes an idle office instead of starting one (a comparison
// takes two, to load its workbooks side by side); the background process then starts the next.
class ReadyOfficeService {
public:
    struct Status {
        qint64 keeperProcess = 0;      // 0: no background process runs
        QList<qint64> officeProcesses; // the offices idle and ready just now
        qint64 memoryKiB = 0;          // of the idle offices and every process they started
    };

    virtual ~ReadyOfficeService() = default;
    // Keeps offices ready from this process until stopped or idle for `idleTimeout`. False
    // when another process keeps them already or no office starts.
    virtual bool keep(std::chrono::seconds idleTimeout) = 0;
    virtual Status status() = 0;
    // Ends the background process and its idle offices; false when none ran.
    virtual bool stop() = 0;
};

} // namespace brelix::host
