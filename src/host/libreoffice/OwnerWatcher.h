#pragma once

#include <sys/types.h>

namespace brelix::libreoffice {

class InstanceFolder;

// A small process that kills an office's group and removes its folder and sockets when this
// program dies without a chance to (SIGKILL, a crash): it waits on a pipe whose other end only
// this program holds, and the system closes that end with us.
class OwnerWatcher {
public:
    OwnerWatcher() = default;
    ~OwnerWatcher()
    {
        if (m_pid > 0)
            removeInstanceAfterOffice();
    }
    OwnerWatcher(const OwnerWatcher&) = delete;
    OwnerWatcher& operator=(const OwnerWatcher&) = delete;

    // Without a pipe or a process for it, the sweep of a later start is left.
    void start(pid_t office, const InstanceFolder& folder);
    // It goes without a thing done: the office ended here, or it belongs to another now.
    void stop();
    // It kills the office and removes its instance as after our death, while this program goes
    // on or ends, and is reaped later. False when there is no watcher to do it.
    bool removeInstanceAfterOffice();

private:
    pid_t m_pid = -1;
    int m_pipe = -1; // its other end closes when this program dies
};

} // namespace brelix::libreoffice
