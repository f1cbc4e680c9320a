#pragma once

#include <QString>
#include <chrono>

namespace brelix::libreoffice {

// How private office instances are started.
struct OfficeOptions {
    enum class Display { Automatic, Headless, Visible };

    // Automatic: a visible-capable instance when an X display is there, headless otherwise.
    Display display = Display::Automatic;
    // Time for an instance to start and accept the connection.
    std::chrono::milliseconds startTimeout{60000};
    // Time one call may take before the instance counts as not answering.
    std::chrono::milliseconds busyTimeout{600000};
    // Start from a copy of the profile prepared once per user and office version: a cheaper
    // start than from an empty profile.
    bool preparedProfile = true;
    // Take the idle office that `brelix-cli office start` keeps, when there is one.
    bool takeReadyOffice = false;
};

} // namespace brelix::libreoffice
