#pragma once

#include "host/libreoffice/InstanceFolder.h"

#include <QString>
#include <chrono>
#include <sys/types.h>
#include <vector>

namespace brelix::libreoffice {

// The offices a keeper lent to commands: its children until they end, watched until their
// taker owns them and while they may come back after the taker's job.
class LentOffices {
public:
    struct Office {
        pid_t pid = 0;
        QString pipeName;
        bool headless = true;
        int jobsDone = 0;

        InstanceFolder folder() const;
    };

    void lend(const Office& office);
    bool empty() const { return m_lent.empty(); }
    // Reaps the offices that ended and kills one nobody took over in time.
    void tend();
    // Those that may still come back: not handed over, and lent less than a minute ago (a long
    // job keeps its office; the next command should not wait for it).
    int expectedBack() const;
    // The offices given back since the last call, no longer lent.
    std::vector<Office> takeReturned();
    bool allOwnedByTakers() const;
    // Ends those given back, which nobody will take back now.
    void endReturned();

private:
    using Clock = std::chrono::steady_clock;
    struct Lent {
        Office office;
        Clock::time_point lentAt;
        bool ownedByTaker = false;
    };
    static bool returned(const Lent& lent);

    std::vector<Lent> m_lent;
};

} // namespace brelix::libreoffice
