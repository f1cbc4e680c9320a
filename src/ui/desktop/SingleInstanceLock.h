#pragma once

#include <QLockFile>
#include <memory>

namespace brelix::ui {

// A per-user lock held for the life of the program: a second start finds it taken.
class SingleInstanceLock {
public:
    SingleInstanceLock();
    bool anotherRunning() const { return !m_locked; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
};

} // namespace brelix::ui
