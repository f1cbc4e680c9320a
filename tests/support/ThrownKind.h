#pragma once

#include "core/host/HostError.h"

#include <optional>

namespace brelix::support {

// The kind of HostError the call throws; nothing when it returns normally.
template <typename Call> std::optional<host::HostError::Kind> thrownKind(Call&& call)
{
    try {
        call();
    } catch (const host::HostError& e) {
        return e.kind();
    }
    return std::nullopt;
}

} // namespace brelix::support
