#pragma once

#include <QThread>
#include <algorithm>

namespace brelix::run {

// Offices a search or a print works with at once: more than four gain little and each needs
// some hundred megabytes.
inline constexpr int kMostOffices = 4;

// As many offices as the machine has cores, at most kMostOffices; 0 asks for this number.
inline int officeCount(int chosen = 0)
{
    if (chosen > 0)
        return std::min(chosen, kMostOffices);
    return std::clamp(QThread::idealThreadCount(), 1, kMostOffices);
}

} // namespace brelix::run
