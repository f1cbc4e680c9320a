#pragma once

#include "core/host/HostError.h"

#include <QString>
#include <optional>

namespace brelix::run {

// Makes a host call whose failure the run goes on after. What failed, when it did, for the
// caller that keeps the reason (a file that did not print).
template <typename Call> std::optional<QString> callIgnoringFailure(Call&& call)
{
    try {
        call();
        return std::nullopt;
    } catch (const host::HostError& e) {
        return e.description();
    }
}

// What a run's host calls do when they fail: a comparison reports the failure and ends, a
// search makes what it can of the rest.
enum class HostFailures { PassThrough, Ignored };

template <typename Call> void callWith(HostFailures failures, Call&& call)
{
    if (failures == HostFailures::Ignored)
        callIgnoringFailure(call);
    else
        call();
}

} // namespace brelix::run
