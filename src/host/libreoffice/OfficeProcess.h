#pragma once

#include "host/libreoffice/InstanceFolder.h"
#include "host/libreoffice/InstanceRecord.h"
#include "host/libreoffice/OwnerWatcher.h"

#include <QString>
#include <chrono>
#include <sys/types.h>

namespace brelix::libreoffice {

// One soffice process of ours: its own profile folder, temporary folder and pipe, in a process
// group of its own so that it and every helper it forks can be stopped together. A record of
// it lies in its instance folder, so a later start can sweep an instance left behind. Until it
// is handed over it ends with us: a signal that ends this program kills it first, and a small
// watcher process kills it when this program dies without a chance to (SIGKILL, a crash).
class OfficeProcess {
public:
    // `preparedProfile`: start from a copy of the prepared profile rather than an empty one.
    OfficeProcess(bool headless, bool preparedProfile);
    // Takes over a running office that another program of ours started and let go of (see
    // release()): from now on it ends with this program, as one it started. `headless`: it
    // ends at its hand-over, whatever display it has. `lender`: the keeper it was taken from,
    // to give it back to after a job (0: none).
    OfficeProcess(pid_t pid, const QString& pipeName, bool headless, pid_t lender = 0);
    ~OfficeProcess(); // stops the office unless it was handed over or released
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    const QString& pipeName() const { return m_pipeName; }
    pid_t pid() const { return m_pid; }
    bool isHeadless() const { return m_headless; }
    // A folder of the instance's own for files it works on; removed with the instance.
    QString scratchFolder() const { return m_folder.scratch(); }
    // The sockets the office listens on; removed after it like its folder.
    QStringList socketPaths() const { return m_folder.sockets(); }

    bool isRunning();
    // How an ended office ended, with the end of its own log: for the message of a failed start.
    QString endReport() const;
    bool waitForExit(std::chrono::milliseconds timeout);
    void kill();
    // The office now belongs to the user: it outlives us and is never swept.
    void handOver();
    // Lets go of the running office without stopping it, for another program of ours to take
    // over. The process stays this program's child, to be reaped when it ends.
    void release();
    // The keeper this office was taken from, while it runs; 0 for none.
    pid_t lender();
    // Gives the idle office back to its lender, which checks it before it offers it again.
    // Until then the lender owns it: it ends with the lender, never with us.
    void giveBack();
    // Of the office and every process it started.
    qint64 memoryKiB() const;

private:
    static QString newPipeName();
    void own();
    void letGo();
    void writeRecord(InstanceRecord::State state) const;

    bool m_headless;
    bool m_handedOver = false;
    bool m_adopted = false; // started by another program: no child of ours
    pid_t m_lender = 0;
    pid_t m_pid = -1;
    int m_exitStatus = -1;
    QString m_pipeName;
    InstanceFolder m_folder;
    OwnerWatcher m_watcher;
};

} // namespace brelix::libreoffice
