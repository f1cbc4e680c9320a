#include "host/libreoffice/ReadyOfficeKeeper.h"

#include "core/files/ProgramFolder.h"
#include "core/host/HostError.h"
#include "core/run/OfficeReuse.h"
#include "host/libreoffice/InstanceRecord.h"
#include "host/libreoffice/InstanceSweeper.h"
#include "host/libreoffice/LentOffices.h"
#include "host/libreoffice/LibreOfficeHost.h"
#include "host/libreoffice/OfficeProcess.h"
#include "host/libreoffice/PrivateFolder.h"
#include "host/libreoffice/ProcessTable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QThread>
#include <algorithm>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace brelix::libreoffice {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kTick{200};
// While offices are lent: one given back is offered again before the next command looks.
constexpr std::chrono::milliseconds kLentTick{10};
constexpr std::chrono::seconds kBusySpell{2};
// A command that finds no offer while an office is on its way back waits this long for it,
// far less than a start.
constexpr std::chrono::milliseconds kLongestWaitForReturn{1000};
constexpr int kStartAttempts = 3;
constexpr std::chrono::seconds kTakeBackBusyTimeout{10};

} // namespace

QString ReadyOfficeKeeper::filePrefix()
{
    const QByteArray key =
        QCryptographicHash::hash(files::programFolder().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    return QDir(PrivateFolder::officesFolder())
        .filePath(QStringLiteral("ready-") + QLatin1String(key));
}

std::optional<ReadyOfficeKeeper::Offer> ReadyOfficeKeeper::readOffer(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> fields = file.readAll().simplified().split(' ');
    if (fields.size() < 4)
        return std::nullopt;
    return Offer{fields[0].toInt(), fields[1].toInt(), QString::fromLatin1(fields[2]),
                 fields[3] == "1"};
}

QString ReadyOfficeKeeper::offerPath(int slot)
{
    return filePrefix() +
           (slot == 0 ? QStringLiteral(".offer") : QStringLiteral(".offer%1").arg(slot + 1));
}

QString ReadyOfficeKeeper::checkingPath()
{
    return filePrefix() + QStringLiteral(".checking");
}

bool ReadyOfficeKeeper::publish(int slot, const Offer& offer)
{
    const QString path = offerPath(slot);
    QFile file(path + QStringLiteral(".new"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(QStringLiteral("%1 %2 %3 %4\n")
                   .arg(offer.keeper)
                   .arg(offer.office)
                   .arg(offer.pipeName)
                   .arg(offer.headless ? 1 : 0)
                   .toLatin1());
    file.close();
    return ::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData()) == 0;
}

// The rename succeeds for one taker only.
std::optional<ReadyOfficeKeeper::Offer> ReadyOfficeKeeper::claim(int slot)
{
    const QString offer = offerPath(slot);
    const QString claimed = offer + QStringLiteral(".taken-%1").arg(::getpid());
    if (::rename(QFile::encodeName(offer).constData(), QFile::encodeName(claimed).constData()) != 0)
        return std::nullopt;
    const std::optional<Offer> taken = readOffer(claimed);
    QFile::remove(claimed);
    return taken;
}

std::unique_ptr<OfficeProcess> ReadyOfficeKeeper::takeFrom(int slot, bool visible)
{
    const std::optional<Offer> seen = readOffer(offerPath(slot));
    if (!seen || (visible && seen->headless))
        return nullptr;
    const std::optional<Offer> offer = claim(slot);
    if (!offer)
        return nullptr;
    try {
        return std::make_unique<OfficeProcess>(offer->office, offer->pipeName, !visible,
                                               offer->keeper);
    } catch (const host::HostError&) {
        return nullptr; // it ended meanwhile; its keeper replaces it
    }
}

std::vector<std::unique_ptr<OfficeProcess>> ReadyOfficeKeeper::take(bool visible, int count)
{
    std::vector<std::unique_ptr<OfficeProcess>> taken;
    // Offers in a folder that another user could fill are none of ours.
    if (!PrivateFolder::check(PrivateFolder::officesFolder()))
        return taken;
    const auto deadline = Clock::now() + kLongestWaitForReturn;
    while (true) {
        for (int slot = 0; slot < kOffices && int(taken.size()) < count; ++slot)
            if (std::unique_ptr<OfficeProcess> office = takeFrom(slot, visible))
                taken.push_back(std::move(office));
        if (int(taken.size()) == count || Clock::now() >= deadline || !returnUnderWay())
            return taken;
        QThread::msleep(5);
    }
}

// An office given back by an earlier command that its keeper has not offered again yet.
bool ReadyOfficeKeeper::returnUnderWay()
{
    const pid_t keeper = runningKeeper();
    if (keeper <= 0)
        return false;
    if (QFile::exists(checkingPath()))
        return true;
    const QDir root(PrivateFolder::officesFolder());
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const std::optional<InstanceRecord> record = InstanceRecord::read(root.filePath(name));
        if (record && record->owner == keeper && record->state == InstanceRecord::State::Returned)
            return true;
    }
    return false;
}

pid_t ReadyOfficeKeeper::runningKeeper()
{
    const QByteArray path = QFile::encodeName(filePrefix() + QStringLiteral(".keeper"));
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    pid_t keeper = 0;
    // The keeper holds the lock as long as it lives.
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        char text[32] = {};
        const ssize_t n = ::read(fd, text, sizeof text - 1);
        keeper = n > 0 ? QByteArray(text, static_cast<int>(n)).trimmed().toInt() : 0;
    }
    ::close(fd);
    return keeper;
}

// The offices of one keeper: those offered, and those lent to commands, which may come back.
class ReadyOfficeKeeper::Keeping {
public:
    explicit Keeping(std::chrono::seconds idleTimeout) : m_idleTimeout(idleTimeout)
    {
        m_options.display = OfficeOptions::Display::Automatic;
    }

    // Offers until nothing came for the idle timeout (true), or until an office failed to
    // start several times in a row (false).
    bool run()
    {
        while (true) {
            if (!fillSlots())
                return false;
            if (!waitForChange()) {
                letTakersOwnTheirOffices();
                return true;
            }
        }
    }

private:
    int emptySlots() const
    {
        return static_cast<int>(std::count(m_offices.begin(), m_offices.end(), nullptr));
    }

    // Starts and offers an office in each empty slot that no lent office may come back to: a
    // start beside the job would slow it on a small machine, for nothing when its office comes
    // back. False once starts have failed kStartAttempts times in a row.
    bool fillSlots()
    {
        for (int slot = 0; slot < kOffices; ++slot)
            while (!m_offices[slot] && emptySlots() > m_lent.expectedBack())
                if (!startOffice(slot) && ++m_failedStarts >= kStartAttempts)
                    return false;
        return true;
    }

    bool startOffice(int slot)
    {
        std::unique_ptr<LibreOfficeHost>& office = m_offices[slot];
        try {
            InstanceSweeper::sweepStale();
            office = std::make_unique<LibreOfficeHost>(m_options);
            office->warmUp();
        } catch (const host::HostError&) {
            office.reset();
            return false;
        }
        m_failedStarts = 0;
        m_jobsDone[slot] = 0;
        offer(slot);
        return true;
    }

    void offer(int slot)
    {
        const OfficeProcess& process = m_offices[slot]->process();
        publish(slot, {::getpid(), process.pid(), process.pipeName(), process.isHeadless()});
    }

    // Idle until an office is taken, comes back or ends, or a slot wants a start (true), or
    // until nothing came for too long and every office is withdrawn (false).
    bool waitForChange()
    {
        while (true) {
            // Jobs come in runs: soon after one, the next command may already wait for an
            // office that is taken or given back.
            const bool busy = !m_lent.empty() || Clock::now() - m_lastUse < kBusySpell;
            QThread::msleep(busy ? kLentTick.count() : kTick.count());
            // A taker killed together with its watchers (killall -9) leaves its offices running.
            if (!m_lent.empty() && Clock::now() - m_lastSweep >= kTick) {
                InstanceSweeper::sweepStale();
                m_lastSweep = Clock::now();
            }
            m_lent.tend();
            const bool taken = releaseTaken();
            if (takeBackReturned() || taken || emptySlots() > m_lent.expectedBack())
                return true;
            if (Clock::now() - m_lastUse >= m_idleTimeout) {
                if (withdrawAll())
                    return false;
                continue;
            }
            if (dropEnded())
                return true;
        }
    }

    // Lets go of each office whose offer a command took.
    bool releaseTaken()
    {
        bool released = false;
        for (int slot = 0; slot < kOffices; ++slot) {
            std::unique_ptr<LibreOfficeHost>& office = m_offices[slot];
            if (!office || QFile::exists(offerPath(slot)))
                continue;
            const OfficeProcess& process = office->process();
            m_lent.lend(
                {process.pid(), process.pipeName(), process.isHeadless(), m_jobsDone[slot]});
            office->release();
            office.reset();
            m_lastUse = Clock::now();
            released = true;
        }
        return released;
    }

    // Offers again each office a command gave back, once it is checked here: the command may
    // have died halfway. Only offices lent by us, reached by the pipe we know, come back. They
    // are checked side by side: a comparison gives back two at once, and the next command
    // waits for them.
    bool takeBackReturned()
    {
        const std::vector<LentOffices::Office> returned = m_lent.takeReturned();
        if (returned.empty())
            return false;
        // Their records say no longer "returned": a command that waits for them sees this.
        QFile(checkingPath()).open(QIODevice::WriteOnly);
        const auto checked = qScopeGuard([] { QFile::remove(checkingPath()); });
        int freeSlots = emptySlots();
        std::vector<std::unique_ptr<LibreOfficeHost>> fit(returned.size());
        std::vector<std::thread> checks;
        for (std::size_t i = 0; i < returned.size(); ++i) {
            const bool wanted =
                freeSlots > 0 && returned[i].jobsDone + 1 < run::OfficeReuse::kMaxJobs;
            freeSlots -= wanted ? 1 : 0;
            checks.emplace_back([&, i, wanted] { fit[i] = checkReturned(returned[i], wanted); });
        }
        for (std::thread& check : checks)
            check.join();
        for (std::size_t i = 0; i < returned.size(); ++i)
            if (fit[i]) {
                const auto slot = std::find(m_offices.begin(), m_offices.end(), nullptr);
                const int index = static_cast<int>(slot - m_offices.begin());
                *slot = std::move(fit[i]);
                m_jobsDone[index] = returned[i].jobsDone + 1;
                offer(index);
                m_lastUse = Clock::now();
            }
        return true;
    }

    // The office cleared and fit for another job; none when it is not wanted or not fit, and
    // then it ends here and a fresh one takes its place.
    std::unique_ptr<LibreOfficeHost> checkReturned(const LentOffices::Office& back, bool wanted)
    {
        std::unique_ptr<OfficeProcess> process;
        try {
            process = std::make_unique<OfficeProcess>(back.pid, back.pipeName, back.headless);
        } catch (const host::HostError&) {
            ::kill(-back.pid, SIGKILL);
            ::waitpid(back.pid, nullptr, 0);
            back.folder().remove();
            return nullptr;
        }
        if (!wanted)
            return nullptr; // it ends with `process`, as any office of ours
        try {
            auto office = std::make_unique<LibreOfficeHost>(m_options, std::move(process));
            // One that got stuck is given up soon: the keeper serves every command.
            office->setBusyTimeout(kTakeBackBusyTimeout);
            if (office->clearForNextJob(run::OfficeReuse::kMemoryBoundKiB))
                return office;
        } catch (const host::HostError&) {
        }
        return nullptr;
    }

    // Withdrawn first: one taken just now is seen as taken on the next tick.
    bool withdrawAll()
    {
        bool allWithdrawn = true;
        for (int slot = 0; slot < kOffices; ++slot)
            if (m_offices[slot] && claim(slot))
                m_offices[slot].reset();
            else if (m_offices[slot])
                allWithdrawn = false;
        return allWithdrawn;
    }

    // An office that ended while idle is withdrawn, to be replaced.
    bool dropEnded()
    {
        bool dropped = false;
        for (int slot = 0; slot < kOffices; ++slot)
            if (m_offices[slot] && !m_offices[slot]->isAlive() && claim(slot)) {
                m_offices[slot].reset();
                dropped = true;
            }
        return dropped;
    }

    // An office taken just now is left only once its taker owns it; those that outlive us are
    // reaped by the system. One given back now would be nobody's: it ends.
    void letTakersOwnTheirOffices()
    {
        while (!m_lent.allOwnedByTakers()) {
            QThread::msleep(kTick.count());
            m_lent.tend();
        }
        m_lent.endReturned();
    }

    const std::chrono::seconds m_idleTimeout;
    OfficeOptions m_options;
    LentOffices m_lent;
    std::array<std::unique_ptr<LibreOfficeHost>, kOffices> m_offices;
    std::array<int, kOffices> m_jobsDone{}; // by the office in each slot
    Clock::time_point m_lastUse = Clock::now();
    Clock::time_point m_lastSweep = Clock::now();
    int m_failedStarts = 0;
};

bool ReadyOfficeKeeper::keep(std::chrono::seconds idleTimeout)
{
    try {
        PrivateFolder::make(PrivateFolder::officesFolder());
    } catch (const host::HostError&) {
        return false; // the offices could not start either
    }
    const QByteArray path = QFile::encodeName(filePrefix() + QStringLiteral(".keeper"));
    const int lock = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0)
        return false;
    const QByteArray pid = QByteArray::number(::getpid()) + '\n';
    if (::ftruncate(lock, 0) != 0 || ::write(lock, pid.constData(), pid.size()) != pid.size())
        return false;
    QFile::remove(checkingPath()); // of a keeper killed while it checked
    return Keeping(idleTimeout).run();
}

host::ReadyOfficeService::Status ReadyOfficeKeeper::status()
{
    Status status;
    status.keeperProcess = runningKeeper();
    if (status.keeperProcess == 0)
        return status;
    for (int slot = 0; slot < kOffices; ++slot)
        if (const std::optional<Offer> offer = readOffer(offerPath(slot))) {
            status.officeProcesses.append(offer->office);
            status.memoryKiB += ProcessTable::groupMemoryKiB(offer->office);
        }
    return status;
}

bool ReadyOfficeKeeper::stop()
{
    const pid_t keeper = runningKeeper();
    if (keeper <= 0)
        return false;
    // Its ending signal kills its idle office first; taken ones are their takers'.
    ::kill(keeper, SIGTERM);
    for (int waited = 0; waited < 100 && runningKeeper() == keeper; ++waited)
        QThread::msleep(50);
    for (int slot = 0; slot < kOffices; ++slot)
        QFile::remove(offerPath(slot));
    // Offices given back to it just before it ended belong to nobody now.
    InstanceSweeper::sweepStale();
    return true;
}

} // namespace brelix::libreoffice
