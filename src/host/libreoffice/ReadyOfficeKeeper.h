#pragma once

#include "core/host/ReadyOfficeService.h"
#include "host/libreoffice/OfficeOptions.h"

#include <QString>
#include <optional>
#include <sys/types.h>

namespace brelix::libreoffice {

class OfficeProcess;

// Keeps one idle office for the commands of this user and program folder. The idle office is
// offered in a small file of our runtime folder; a command takes it by renaming that file,
// which only one can do, and from then on the office is the command's alone, ending with it
// as one it started. The keeper sees the offer gone, lets go of that office and starts the
// next. A ready office that ends while idle is withdrawn and replaced.
class ReadyOfficeKeeper : public host::ReadyOfficeService {
public:
    struct Offer {
        pid_t keeper = 0;
        pid_t office = 0;
        QString pipeName;
        bool headless = true;
    };

    bool keep(std::chrono::seconds idleTimeout) override;
    Status status() override;
    bool stop() override;

    // The idle office, now this program's, for a command that wants one that can be shown
    // (`visible`) or not; nothing when none is offered or it has ended.
    static std::unique_ptr<OfficeProcess> take(bool visible);

private:
    static QString filePrefix();
    static std::optional<Offer> readOffer(const QString& path);
    static std::optional<Offer> claim();
    static bool publish(const Offer& offer);
    static pid_t runningKeeper();
};

} // namespace brelix::libreoffice
