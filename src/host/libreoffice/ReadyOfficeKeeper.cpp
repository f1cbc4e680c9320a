#include "host/libreoffice/ReadyOfficeKeeper.h"

#include "core/files/ProgramFolder.h"
#include "core/host/HostError.h"
#include "host/libreoffice/LibreOfficeHost.h"
#include "host/libreoffice/OfficeProcess.h"
#include "host/libreoffice/PrivateFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace brelix::libreoffice {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kTick{200};
// A command that took the office writes itself into the office's record at once; one that
// died before it did leaves the office to nobody.
constexpr std::chrono::seconds kTakeOverTime{10};
constexpr int kStartAttempts = 3;
constexpr std::chrono::seconds kLongestWaitForTakers{60};

// An office let go of: a child of ours until it ends, and watched until its taker owns it.
struct Released {
    pid_t pid = 0;
    QString folder;
    Clock::time_point deadline;
    bool ownedByTaker = false;
};

pid_t recordOwner(const QString& folder)
{
    QFile record(QDir(folder).filePath(QStringLiteral("instance")));
    if (!record.open(QIODevice::ReadOnly))
        return 0;
    return record.readAll().simplified().split(' ').value(0).toInt();
}

// Reaps the offices that ended and kills one nobody took over in time.
void tendReleased(std::vector<Released>& released)
{
    for (auto it = released.begin(); it != released.end();) {
        if (::waitpid(it->pid, nullptr, WNOHANG) != 0) {
            // One no taker took over (it ended as it was taken) leaves its folder to us.
            if (recordOwner(it->folder) == ::getpid())
                OfficeProcess::removeInstance(it->folder);
            it = released.erase(it);
            continue;
        }
        if (!it->ownedByTaker) {
            it->ownedByTaker = recordOwner(it->folder) != ::getpid();
            if (!it->ownedByTaker && Clock::now() >= it->deadline) {
                ::kill(-it->pid, SIGKILL);
                OfficeProcess::removeInstance(it->folder);
                it->ownedByTaker = true; // reaped on a later tick
            }
        }
        ++it;
    }
}

bool handedOver(const Released& office)
{
    QFile record(QDir(office.folder).filePath(QStringLiteral("instance")));
    return record.open(QIODevice::ReadOnly) && record.readAll().contains("handed-over");
}

// The next office starts once the commands that took the earlier ones are done: on a small
// machine its start would slow them down. One handed over to the user is not waited for.
void waitForTakers(std::vector<Released>& released)
{
    const auto deadline = Clock::now() + kLongestWaitForTakers;
    while (Clock::now() < deadline &&
           std::any_of(released.begin(), released.end(),
                       [](const Released& r) { return !handedOver(r); })) {
        QThread::msleep(kTick.count());
        // A taker killed together with its watchers (killall -9) leaves its offices running.
        OfficeProcess::sweepStale();
        tendReleased(released);
    }
}

qint64 groupMemoryKiB(pid_t group)
{
    qint64 pages = 0;
    for (const pid_t member : OfficeProcess::liveGroupMembers(group)) {
        QFile statm(QStringLiteral("/proc/%1/statm").arg(member));
        if (statm.open(QIODevice::ReadOnly))
            pages += statm.readAll().split(' ').value(1).toLongLong();
    }
    return pages * ::sysconf(_SC_PAGESIZE) / 1024;
}

} // namespace

QString ReadyOfficeKeeper::filePrefix()
{
    const QByteArray key =
        QCryptographicHash::hash(files::programFolder().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    return QDir(OfficeProcess::runtimeFolder())
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
        return std::make_unique<OfficeProcess>(offer->office, offer->pipeName, !visible);
    } catch (const host::HostError&) {
        return nullptr; // it ended meanwhile; its keeper replaces it
    }
}

std::vector<std::unique_ptr<OfficeProcess>> ReadyOfficeKeeper::take(bool visible, int count)
{
    std::vector<std::unique_ptr<OfficeProcess>> taken;
    // Offers in a folder that another user could fill are none of ours.
    if (!PrivateFolder::check(OfficeProcess::runtimeFolder()))
        return taken;
    for (int slot = 0; slot < kOffices && int(taken.size()) < count; ++slot)
        if (std::unique_ptr<OfficeProcess> office = takeFrom(slot, visible))
            taken.push_back(std::move(office));
    return taken;
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

// The offices of one keeper: those offered, and those let go of to their takers.
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
            waitForTakers(m_released);
            if (!fillSlots())
                return false;
            if (!waitForChange()) {
                letTakersOwnTheirOffices();
                return true;
            }
        }
    }

private:
    // Starts and offers an office in each empty slot, trying a slot again after a failed
    // start; false once starts have failed kStartAttempts times in a row.
    bool fillSlots()
    {
        for (int slot = 0; slot < kOffices; ++slot)
            while (!m_offices[slot])
                if (!startOffice(slot) && ++m_failedStarts >= kStartAttempts)
                    return false;
        return true;
    }

    bool startOffice(int slot)
    {
        std::unique_ptr<LibreOfficeHost>& office = m_offices[slot];
        try {
            OfficeProcess::sweepStale();
            office = std::make_unique<LibreOfficeHost>(m_options);
            office->warmUp();
        } catch (const host::HostError&) {
            office.reset();
            return false;
        }
        m_failedStarts = 0;
        const OfficeProcess& process = office->process();
        publish(slot, {::getpid(), process.pid(), process.pipeName(), process.isHeadless()});
        return true;
    }

    // Idle until an office is taken or ends (true), or until nothing came for too long and
    // every office is withdrawn (false).
    bool waitForChange()
    {
        while (true) {
            QThread::msleep(kTick.count());
            tendReleased(m_released);
            if (releaseTaken())
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
            m_released.push_back(
                {office->process().pid(),
                 QDir(OfficeProcess::runtimeFolder()).filePath(office->process().pipeName()),
                 Clock::now() + kTakeOverTime, false});
            office->release();
            office.reset();
            m_lastUse = Clock::now();
            released = true;
        }
        return released;
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
    // reaped by the system.
    void letTakersOwnTheirOffices()
    {
        while (std::any_of(m_released.begin(), m_released.end(),
                           [](const Released& r) { return !r.ownedByTaker; })) {
            QThread::msleep(kTick.count());
            tendReleased(m_released);
        }
    }

    const std::chrono::seconds m_idleTimeout;
    OfficeOptions m_options;
    std::vector<Released> m_released;
    std::array<std::unique_ptr<LibreOfficeHost>, kOffices> m_offices;
    Clock::time_point m_lastUse = Clock::now();
    int m_failedStarts = 0;
};

bool ReadyOfficeKeeper::keep(std::chrono::seconds idleTimeout)
{
    try {
        PrivateFolder::make(OfficeProcess::runtimeFolder());
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
            status.memoryKiB += groupMemoryKiB(offer->office);
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
    return true;
}

} // namespace brelix::libreoffice
