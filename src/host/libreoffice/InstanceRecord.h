#pragma once

#include <QString>
#include <optional>
#include <sys/types.h>

namespace brelix::libreoffice {

// The record that an office of ours keeps in its instance folder: which program owns it, its
// process, and where it stands. The one place that writes and reads the file.
struct InstanceRecord {
    enum class State {
        Owned,      // it ends with its owner
        HandedOver, // the user's: it outlives us and is never swept
        Returned,   // given back after a job, owned by the keeper that lent it, not yet taken back
    };

    pid_t owner = 0;
    pid_t office = 0;
    State state = State::Owned;

    // None when the folder holds no complete record.
    static std::optional<InstanceRecord> read(const QString& instanceFolder);
    // Whole or not at all: a reader never sees half a record.
    bool write(const QString& instanceFolder) const;
};

} // namespace brelix::libreoffice
