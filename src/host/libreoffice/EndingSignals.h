#pragma once

#include <sys/types.h>

namespace brelix::libreoffice {

// SIGINT, SIGTERM, SIGHUP and SIGQUIT, where they would end the program, first kill the process
// group of every office that ends with us. A later handler that gives the signal back to this
// one keeps that.
class EndingSignals {
public:
    // Installs the handler once, where no one else handles or ignores the signal.
    static void endOfficesFirst();
    // The offices that end with us: at most 64 at a time, in lock-free slots for the handler.
    static void addOffice(pid_t pgid);
    static void removeOffice(pid_t pgid);
};

} // namespace brelix::libreoffice
