#include "host/libreoffice/LentOffices.h"

#include "host/libreoffice/InstanceRecord.h"

#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace brelix::libreoffice {

namespace {

// A command that took the office writes itself into the office's record at once; one that
// died before it did leaves the office to nobody.
constexpr std::chrono::seconds kTakeOverTime{10};
constexpr std::chrono::seconds kLongestWaitForTakers{60};

} // namespace

InstanceFolder LentOffices::Office::folder() const
{
    return InstanceFolder::ofPipe(pipeName);
}

void LentOffices::lend(const Office& office)
{
    m_lent.push_back({office, Clock::now(), false});
}

bool LentOffices::returned(const Lent& lent)
{
    const std::optional<InstanceRecord> r = InstanceRecord::read(lent.office.folder().path());
    return r && r->state == InstanceRecord::State::Returned && r->owner == ::getpid();
}

void LentOffices::tend()
{
    for (auto it = m_lent.begin(); it != m_lent.end();) {
        const std::optional<InstanceRecord> record =
            InstanceRecord::read(it->office.folder().path());
        if (::waitpid(it->office.pid, nullptr, WNOHANG) != 0) {
            // One no taker took over (it ended as it was taken) leaves its folder to us.
            if (record && record->owner == ::getpid())
                it->office.folder().remove();
            it = m_lent.erase(it);
            continue;
        }
        if (!it->ownedByTaker) {
            it->ownedByTaker = record && (record->owner != ::getpid() ||
                                          record->state == InstanceRecord::State::Returned);
            if (!it->ownedByTaker && Clock::now() >= it->lentAt + kTakeOverTime) {
                ::kill(-it->office.pid, SIGKILL);
                it->office.folder().remove();
                it->ownedByTaker = true; // reaped on a later tick
            }
        }
        ++it;
    }
}

int LentOffices::expectedBack() const
{
    return static_cast<int>(std::count_if(m_lent.begin(), m_lent.end(), [](const Lent& lent) {
        const std::optional<InstanceRecord> r = InstanceRecord::read(lent.office.folder().path());
        return (!r || r->state != InstanceRecord::State::HandedOver) &&
               Clock::now() - lent.lentAt < kLongestWaitForTakers;
    }));
}

std::vector<LentOffices::Office> LentOffices::takeReturned()
{
    std::vector<Office> back;
    for (auto it = m_lent.begin(); it != m_lent.end();)
        if (returned(*it)) {
            back.push_back(it->office);
            it = m_lent.erase(it);
        } else {
            ++it;
        }
    return back;
}

bool LentOffices::allOwnedByTakers() const
{
    return std::all_of(m_lent.begin(), m_lent.end(),
                       [](const Lent& lent) { return lent.ownedByTaker; });
}

void LentOffices::endReturned()
{
    for (const Lent& lent : m_lent)
        if (returned(lent)) {
            ::kill(-lent.office.pid, SIGKILL);
            lent.office.folder().remove();
        }
}

} // namespace brelix::libreoffice
