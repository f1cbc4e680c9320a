#pragma once

#include "core/host/ReadyOfficeService.h"
#include "host/libreoffice/OfficeOptions.h"

#include <QString>
#include <memory>
#include <optional>
#include <sys/types.h>
#include <vector>

namespace brelix::libreoffice {

class OfficeProcess;

// Keeps idle offices for the commands of this user and program folder, two of them: a
// comparison loads its two workbooks side by side. Each idle office is offered in a small file
// of our runtime folder (private to the user); a command takes one by renaming that file, which
// only one can do, and from then on the office is the command's alone, ending with it as one it
// started. A command whose job went well gives it back instead: the keeper takes back only
// offices it lent, checks each (it answers, holds no document, under the memory bound, fewer
// jobs than the limit) and offers it again. The next office starts once no lent one may come
// back; a ready office that ends while idle is withdrawn and replaced.
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

    static constexpr int kOffices = 2;

    // Up to `count` idle offices, now this program's, for a command that wants ones that can
    // be shown (`visible`) or not; none when none is offered or they have ended.
    static std::vector<std::unique_ptr<OfficeProcess>> take(bool visible, int count);

private:
    class Keeping;

    static QString filePrefix();
    static QString offerPath(int slot);
    // There while the keeper checks offices given back; they are on their way to an offer.
    static QString checkingPath();
    static std::optional<Offer> readOffer(const QString& path);
    static std::optional<Offer> claim(int slot);
    static std::unique_ptr<OfficeProcess> takeFrom(int slot, bool visible);
    static bool publish(int slot, const Offer& offer);
    static pid_t runningKeeper();
    static bool returnUnderWay();
};

} // namespace brelix::libreoffice
