#pragma once

#include <QString>
#include <chrono>
#include <sys/types.h>

namespace brelix::libreoffice {

// One soffice process of ours: its own profile folder and pipe, in a process group of its own
// so that it and every helper it forks can be stopped together. A record of it lies in our
// runtime folder, so a later start can sweep an instance left behind by a crashed run.
class OfficeProcess {
public:
    explicit OfficeProcess(bool headless);
    ~OfficeProcess(); // stops the office unless it was handed over
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    const QString& pipeName() const { return m_pipeName; }
    pid_t pid() const { return m_pid; }
    bool isHeadless() const { return m_headless; }

    bool isRunning();
    // How an ended office ended, with the end of its own log: for the message of a failed start.
    QString endReport() const;
    bool waitForExit(std::chrono::milliseconds timeout);
    void kill();
    // The office now belongs to the user: it outlives us and is never swept.
    void handOver();

    // Stops instances whose owning program is gone without handing them over, and removes the
    // records of instances that have ended.
    static void sweepStale();
    // Is an office that was handed over still running, by the records of the runtime folder?
    static bool handedOverInstanceOpen();
    static QString runtimeFolder();

private:
    void writeRecord(const QString& state) const;

    bool m_headless;
    bool m_handedOver = false;
    pid_t m_pid = -1;
    int m_exitStatus = -1;
    QString m_folder;
    QString m_pipeName;
};

} // namespace brelix::libreoffice
