#pragma once

#include <QtGlobal>

namespace brelix::run {

// When an office that served jobs is retired instead of being offered to the next one. An
// office's memory grows with the documents it has held (caches, fonts, undo pools of closed
// documents are not all given back); a fresh one uses about 150 MB after its first job.
struct OfficeReuse {
    static constexpr int kMaxJobs = 100;
    static constexpr qint64 kMemoryBoundKiB = 600 * 1024;

    int maxJobs = kMaxJobs;
    qint64 memoryBoundKiB = kMemoryBoundKiB;
};

} // namespace brelix::run
