#include "host/libreoffice/OfficeProcess.h"

#include "core/host/HostError.h"
#include "host/libreoffice/InstanceRecord.h"
#include "host/libreoffice/PrivateFolder.h"
#include "host/libreoffice/PrivateProfile.h"
#include "host/libreoffice/ProcessTable.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <QUrl>
#include <atomic>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace brelix::libreoffice {

using host::HostError;

namespace {

constexpr qint64 kLongestFolderSetupSeconds = 300;

std::atomic<int> g_instanceCounter{0};

// The process groups of the offices not handed over, for the signal handler: lock-free slots.
std::atomic<pid_t> g_ownedGroups[64];
static_assert(std::atomic<pid_t>::is_always_lock_free);

void addOwnedGroup(pid_t pgid)
{
    for (auto& slot : g_ownedGroups) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, pgid))
            return;
    }
}

void removeOwnedGroup(pid_t pgid)
{
    for (auto& slot : g_ownedGroups) {
        pid_t expected = pgid;
        if (slot.compare_exchange_strong(expected, 0))
            return;
    }
}

// Runs once (the action resets itself) and then ends the program by the same signal.
void onEndingSignal(int signal)
{
    for (auto& slot : g_ownedGroups)
        if (const pid_t pgid = slot.load(); pgid > 0)
            ::kill(-pgid, SIGKILL);
    ::raise(signal);
}

// Every place where a run may have made instance folders: its runtime folder depends on
// XDG_RUNTIME_DIR, and earlier runs made them in the temporary folder that TMPDIR names.
QStringList runtimeFolders()
{
    const QString name = QStringLiteral("brelix-office-%1").arg(::getuid());
    QStringList folders = {OfficeProcess::runtimeFolder(),
                           QDir(QStringLiteral("/tmp")).filePath(name),
                           QDir(QDir::tempPath()).filePath(name)};
    folders.removeDuplicates();
    return folders;
}

QByteArray profileUrl(const QString& folder)
{
    return QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toEncoded();
}

// The sockets an office listens on, which it leaves in /tmp when it is killed: the pipe we
// connect through, and its single-instance pipe, named by the MD5 of its profile's URL in
// UTF-16 written as unpadded hex bytes.
QStringList officeSockets(const QString& folder)
{
    const QString prefix = QStringLiteral("/tmp/OSL_PIPE_%1_").arg(::getuid());
    const QString url = QString::fromLatin1(profileUrl(folder));
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char*>(url.utf16()), url.size() * 2),
        QCryptographicHash::Md5);
    QString singleInstance = QStringLiteral("SingleOfficeIPC_");
    for (const char byte : digest)
        singleInstance += QString::number(static_cast<unsigned char>(byte), 16);
    return {prefix + QFileInfo(folder).fileName(), prefix + singleInstance};
}

// Only calls that are safe after fork() in a program with threads. The watcher waits in the
// instance's folder, as the office does: the folder this program was started from may be one
// to unmount later.
[[noreturn]] void runOwnerWatch(int pipe, pid_t office, const char* folder,
                                char* const removeCommand[], const sigset_t& signalMask)
{
    [[maybe_unused]] const int inFolder = ::chdir(folder); // it lies there until it is removed
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    // The terminal's signals reach our process group, this watcher included.
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaction(s, &ignore, nullptr);
    pthread_sigmask(SIG_SETMASK, &signalMask, nullptr);
    ::dup2(pipe, 0);
    if (::syscall(SYS_close_range, 1U, ~0U, 0U) != 0)
        for (int fd = 1; fd < 65536; ++fd)
            ::close(fd);
    char byte = 0;
    ssize_t n;
    while ((n = ::read(0, &byte, 1)) < 0 && errno == EINTR) {
    }
    if (n != 0)
        ::_exit(0); // told to stop: the office ended or belongs to the user
    ::kill(-office, SIGKILL);
    // A killed process still finishes the call it is in: an office killed while starting may
    // yet bind its sockets. It is gone well within this pause.
    const timespec pause{0, 50'000'000};
    ::nanosleep(&pause, nullptr);
    ::execv("/bin/rm", removeCommand);
    ::_exit(1);
}

QString sofficePath()
{
    return QStringLiteral(LIBREOFFICE_PROGRAM_DIR "/soffice");
}

// Watchers left to remove an instance's folder after it; reaped once they are done.
std::mutex g_finishingWatchersMutex;
std::vector<pid_t> g_finishingWatchers;

void reapFinishedWatchers()
{
    const std::lock_guard lock(g_finishingWatchersMutex);
    std::erase_if(g_finishingWatchers,
                  [](pid_t watcher) { return ::waitpid(watcher, nullptr, WNOHANG) != 0; });
}

} // namespace

QString OfficeProcess::runtimeFolder()
{
    // XDG_RUNTIME_DIR when the session has one; asking Qt would warn on stderr when it is not.
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QFileInfo(base).isDir())
        base = QStringLiteral("/tmp");
    return QDir(base).filePath(QStringLiteral("brelix-office-%1").arg(::getuid()));
}

void OfficeProcess::endOfficesOnEndingSignals()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            struct sigaction current {};
            sigaction(s, nullptr, &current);
            if (current.sa_handler != SIG_DFL || (current.sa_flags & SA_SIGINFO))
                continue; // ignored or handled by someone else
            struct sigaction action {};
            action.sa_handler = onEndingSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESETHAND | SA_NODEFER;
            sigaction(s, &action, nullptr);
        }
    });
}

namespace {

// The office's command line: hidden, without restore or first-start work, on its own profile
// and pipe.
QList<QByteArray> officeArguments(const QString& folder, const QString& pipeName, bool headless)
{
    QList<QByteArray> args = {
        QFile::encodeName(sofficePath()),
        "--invisible",
        "--norestore",
        "--nologo",
        "--nodefault",
        "--nolockcheck",
        "--nofirststartwizard",
        "-env:UserInstallation=" + profileUrl(folder),
        "--accept=pipe,name=" + pipeName.toLatin1() + ";urp;StarOffice.ComponentContext",
    };
    if (headless)
        args.insert(1, "--headless");
    return args;
}

// The office must not inherit the bootstrap setting that this process needs for itself; its
// temporary files go into its own folder, which goes with it.
std::vector<QByteArray> officeEnvironment(const QString& folder)
{
    std::vector<QByteArray> env;
    for (char** e = environ; *e; ++e)
        if (qstrncmp(*e, "URE_BOOTSTRAP=", 14) != 0 && qstrncmp(*e, "TMPDIR=", 7) != 0)
            env.emplace_back(*e);
    env.push_back("TMPDIR=" + QFile::encodeName(folder + QStringLiteral("/tmp")));
    return env;
}

// The texts as exec takes them: pointers ending in a null one.
template <typename Texts> std::vector<char*> pointersTo(Texts& texts)
{
    std::vector<char*> pointers;
    for (QByteArray& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts the office in a process group of its own and in its instance folder: not the folder
// this program was started from, which the user may not be able to enter or which may lie on a
// removable disk that would stay busy while the office runs. Its own chatter goes to a log
// beside its profile, not onto our terminal. 0, or the error number of the failed start.
int spawnOffice(pid_t* pid, const QString& instanceFolder, QList<QByteArray> args)
{
    std::vector<QByteArray> env = officeEnvironment(instanceFolder);
    const std::vector<char*> argv = pointersTo(args), envp = pointersTo(env);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    const QByteArray log = QFile::encodeName(instanceFolder + QStringLiteral("/office.log"));
    const QByteArray folder = QFile::encodeName(instanceFolder);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, log.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    posix_spawn_file_actions_addchdir_np(&files, folder.constData());
    const int rc = posix_spawn(pid, argv[0], &files, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attr);
    return rc;
}

} // namespace

OfficeProcess::OfficeProcess(bool headless, bool preparedProfile) : m_headless(headless)
{
    const int n = g_instanceCounter.fetch_add(1);
    // Short, as the pipe becomes a socket path of at most 108 bytes; its random bits keep
    // another user from guessing it and connecting first.
    m_pipeName = QStringLiteral("brelix-%1-%2-%3")
                     .arg(::getpid())
                     .arg(n)
                     .arg(QRandomGenerator::system()->generate64(), 16, 16, QChar(u'0'));
    PrivateFolder::make(runtimeFolder());
    m_folder = QDir(runtimeFolder()).filePath(m_pipeName);
    QDir().mkpath(m_folder + QStringLiteral("/profile"));
    QDir().mkpath(m_folder + QStringLiteral("/tmp"));
    endOfficesOnEndingSignals();

    PrivateProfile::populate(m_folder + QStringLiteral("/profile"), preparedProfile);
    const int rc = spawnOffice(&m_pid, m_folder, officeArguments(m_folder, m_pipeName, headless));
    if (rc != 0) {
        m_pid = -1;
        QDir(m_folder).removeRecursively();
        throw HostError(HostError::Kind::StartFailed,
                        QStringLiteral("soffice could not be started: %1")
                            .arg(QString::fromLocal8Bit(strerror(rc))));
    }
    addOwnedGroup(m_pid);
    writeRecord(InstanceRecord::State::Owned);
    watchOwner();
}

OfficeProcess::OfficeProcess(pid_t pid, const QString& pipeName, bool headless, pid_t lender)
    : m_headless(headless), m_adopted(true), m_lender(lender), m_pid(pid), m_pipeName(pipeName)
{
    m_folder = QDir(runtimeFolder()).filePath(m_pipeName);
    endOfficesOnEndingSignals();
    if (!ProcessTable::isAlive(pid) || !ProcessTable::groupRunsOnFolder(pid, m_folder))
        throw HostError(HostError::Kind::StartFailed, QStringLiteral("the ready office has ended"));
    addOwnedGroup(m_pid);
    writeRecord(InstanceRecord::State::Owned);
    watchOwner();
}

void OfficeProcess::release()
{
    m_handedOver = true;
    removeOwnedGroup(m_pid);
    stopWatcher();
}

OfficeProcess::~OfficeProcess()
{
    if (m_handedOver)
        return;
    if (isRunning() && !waitForExit(std::chrono::milliseconds(0)))
        kill();
    removeOwnedGroup(m_pid);
    reapFinishedWatchers();
    if (m_watcherPid > 0) {
        // The folder holds the profile, hundreds of files: removing them took longer than the
        // end of the office. The watcher, told nothing, removes the folder as after our death,
        // while this program goes on or ends.
        ::close(m_watcherPipe);
        const std::lock_guard lock(g_finishingWatchersMutex);
        g_finishingWatchers.push_back(m_watcherPid);
        m_watcherPid = -1;
        m_watcherPipe = -1;
        return;
    }
    removeInstance(m_folder);
}

void OfficeProcess::watchOwner()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return; // the sweep of a later start is left
    QByteArray folder = QFile::encodeName(m_folder);
    const QStringList sockets = officeSockets(m_folder);
    QByteArray connectionSocket = QFile::encodeName(sockets[0]);
    QByteArray instanceSocket = QFile::encodeName(sockets[1]);
    char rm[] = "rm", recursive[] = "-rf", end[] = "--";
    char* const removeCommand[] = {
        rm, recursive, end, folder.data(), connectionSocket.data(), instanceSocket.data(), nullptr};
    // No signal may reach the watcher before it has set its own handlers.
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t watcher = ::fork();
    if (watcher == 0)
        runOwnerWatch(fds[0], m_pid, folder.constData(), removeCommand, previous);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(fds[0]);
    if (watcher < 0) {
        ::close(fds[1]);
        return;
    }
    m_watcherPid = watcher;
    m_watcherPipe = fds[1];
}

void OfficeProcess::stopWatcher()
{
    if (m_watcherPid <= 0)
        return;
    const char stop = 's';
    if (::write(m_watcherPipe, &stop, 1) != 1)
        ::kill(m_watcherPid, SIGKILL);
    ::close(m_watcherPipe);
    ::waitpid(m_watcherPid, nullptr, 0);
    m_watcherPid = -1;
    m_watcherPipe = -1;
}

void OfficeProcess::writeRecord(InstanceRecord::State state) const
{
    const pid_t owner = state == InstanceRecord::State::Returned ? m_lender : ::getpid();
    InstanceRecord{owner, m_pid, state}.write(m_folder);
}

pid_t OfficeProcess::lender()
{
    // A keeper that ended meanwhile would leave the office to nobody.
    return m_lender > 0 && ProcessTable::isAlive(m_lender) ? m_lender : 0;
}

void OfficeProcess::giveBack()
{
    // Recorded first: if we die before the watcher is told, it kills the office, and the
    // keeper finds a dead office, never a half-given one.
    writeRecord(InstanceRecord::State::Returned);
    m_handedOver = true;
    removeOwnedGroup(m_pid);
    stopWatcher();
}

void OfficeProcess::removeInstance(const QString& folder)
{
    QDir(folder).removeRecursively();
    for (const QString& socket : officeSockets(folder))
        QFile::remove(socket);
}

qint64 OfficeProcess::memoryKiB() const
{
    return ProcessTable::groupMemoryKiB(m_pid);
}

QStringList OfficeProcess::socketPaths() const
{
    return officeSockets(m_folder);
}

bool OfficeProcess::isRunning()
{
    if (m_pid <= 0 || m_exitStatus >= 0)
        return false;
    if (m_adopted) {
        // An ended office lingers as its starter's zombie, which runs on no folder; one that a
        // keeper took back is its own child, reaped here.
        if (ProcessTable::isAlive(m_pid) && ProcessTable::groupRunsOnFolder(m_pid, m_folder))
            return true;
        ::waitpid(m_pid, nullptr, WNOHANG);
        m_exitStatus = 0;
        ::kill(-m_pid, SIGKILL);
        removeOwnedGroup(m_pid);
        return false;
    }
    int status = 0;
    const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
    if (r == m_pid) {
        m_exitStatus = status;
        // Helpers of the office may outlive the launcher; they go with it.
        ::kill(-m_pid, SIGKILL);
        removeOwnedGroup(m_pid);
        return false;
    }
    return r == 0;
}

QString OfficeProcess::endReport() const
{
    QString report;
    if (m_exitStatus >= 0)
        report = WIFSIGNALED(m_exitStatus)
                     ? QStringLiteral("killed by signal %1").arg(WTERMSIG(m_exitStatus))
                     : QStringLiteral("exit status %1").arg(WEXITSTATUS(m_exitStatus));
    QFile log(m_folder + QStringLiteral("/office.log"));
    if (log.open(QIODevice::ReadOnly)) {
        const QString tail = QString::fromLocal8Bit(log.readAll().right(400)).trimmed();
        if (!tail.isEmpty())
            report += QStringLiteral("; its log ends: ") + tail;
    }
    return report;
}

bool OfficeProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (isRunning()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QThread::msleep(10);
    }
    return true;
}

void OfficeProcess::kill()
{
    if (m_pid <= 0)
        return;
    ::kill(-m_pid, SIGKILL);
    waitForExit(std::chrono::milliseconds(5000));
    // The office proper is the launcher's child and outlives it while it gives back its memory.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!ProcessTable::liveGroupMembers(m_pid).isEmpty() &&
           std::chrono::steady_clock::now() < deadline)
        QThread::msleep(2);
}

void OfficeProcess::handOver()
{
    m_handedOver = true;
    removeOwnedGroup(m_pid);
    stopWatcher();
    writeRecord(InstanceRecord::State::HandedOver);
}

void OfficeProcess::sweepStale()
{
    for (const QString& folder : runtimeFolders())
        if (PrivateFolder::check(folder)) // another user's records are none of ours
            sweepFolder(folder);
}

void OfficeProcess::sweepFolder(const QString& runtime)
{
    QDir root(runtime);
    const QStringList entries = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : entries) {
        const QString folder = root.filePath(name);
        const std::optional<InstanceRecord> record = InstanceRecord::read(folder);
        if (!record) {
            // Being made right now by another start (preparing the profile included), or left
            // by a program ended before its office started.
            if (QFileInfo(folder).lastModified().secsTo(QDateTime::currentDateTime()) >
                kLongestFolderSetupSeconds)
                removeInstance(folder);
            continue;
        }
        const pid_t owner = record->owner;
        const pid_t office = record->office;
        const bool handedOver = record->state == InstanceRecord::State::HandedOver;
        const bool officeAlive =
            ProcessTable::isAlive(office) && ProcessTable::groupRunsOnFolder(office, folder);
        if (officeAlive && (handedOver || ProcessTable::isAlive(owner)))
            continue;
        if (!officeAlive && ProcessTable::isAlive(owner) && !handedOver)
            continue; // its owner is still starting or stopping it
        if (officeAlive)
            ::kill(-office, SIGKILL);
        removeInstance(folder);
    }
}

bool OfficeProcess::handedOverInstanceOpen()
{
    if (!PrivateFolder::check(runtimeFolder()))
        return false;
    const QDir root(runtimeFolder());
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = root.filePath(name);
        const std::optional<InstanceRecord> record = InstanceRecord::read(folder);
        if (!record || record->state != InstanceRecord::State::HandedOver)
            continue;
        // An office the user closed may linger as a zombie of ours: it runs on no folder.
        const pid_t office = record->office;
        if (ProcessTable::isAlive(office) && ProcessTable::groupRunsOnFolder(office, folder))
            return true;
    }
    return false;
}

} // namespace brelix::libreoffice
