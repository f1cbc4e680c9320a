#include "host/libreoffice/OfficeProcess.h"

#include "core/host/HostError.h"
#include "host/libreoffice/EndingSignals.h"
#include "host/libreoffice/PrivateFolder.h"
#include "host/libreoffice/PrivateProfile.h"
#include "host/libreoffice/ProcessTable.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace brelix::libreoffice {

using host::HostError;

namespace {

std::atomic<int> g_instanceCounter{0};

QString sofficePath()
{
    return QStringLiteral(LIBREOFFICE_PROGRAM_DIR "/soffice");
}

// The office's command line: hidden, without restore or first-start work, on its own profile
// and pipe.
QList<QByteArray> officeArguments(const InstanceFolder& folder, const QString& pipeName,
                                  bool headless)
{
    QList<QByteArray> args = {
        QFile::encodeName(sofficePath()),
        "--invisible",
        "--norestore",
        "--nologo",
        "--nodefault",
        "--nolockcheck",
        "--nofirststartwizard",
        "-env:UserInstallation=" + folder.profileUrl(),
        "--accept=pipe,name=" + pipeName.toLatin1() + ";urp;StarOffice.ComponentContext",
    };
    if (headless)
        args.insert(1, "--headless");
    return args;
}

// The office must not inherit the bootstrap setting that this process needs for itself; its
// temporary files go into its own folder, which goes with it.
std::vector<QByteArray> officeEnvironment(const InstanceFolder& folder)
{
    std::vector<QByteArray> env;
    for (char** e = environ; *e; ++e)
        if (qstrncmp(*e, "URE_BOOTSTRAP=", 14) != 0 && qstrncmp(*e, "TMPDIR=", 7) != 0)
            env.emplace_back(*e);
    env.push_back("TMPDIR=" + QFile::encodeName(folder.scratch()));
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
int spawnOffice(pid_t* pid, const InstanceFolder& instance, QList<QByteArray> args)
{
    std::vector<QByteArray> env = officeEnvironment(instance);
    const std::vector<char*> argv = pointersTo(args), envp = pointersTo(env);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    const QByteArray log = QFile::encodeName(instance.log());
    const QByteArray folder = QFile::encodeName(instance.path());
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

// Short, as the pipe becomes a socket path of at most 108 bytes; its random bits keep another
// user from guessing it and connecting first.
QString OfficeProcess::newPipeName()
{
    const int n = g_instanceCounter.fetch_add(1);
    return QStringLiteral("brelix-%1-%2-%3")
        .arg(::getpid())
        .arg(n)
        .arg(QRandomGenerator::system()->generate64(), 16, 16, QChar(u'0'));
}

OfficeProcess::OfficeProcess(bool headless, bool preparedProfile)
    : m_headless(headless), m_pipeName(newPipeName()), m_folder(InstanceFolder::ofPipe(m_pipeName))
{
    PrivateFolder::make(PrivateFolder::officesFolder());
    QDir().mkpath(m_folder.profile());
    QDir().mkpath(m_folder.scratch());
    EndingSignals::endOfficesFirst();

    PrivateProfile::populate(m_folder.profile(), preparedProfile);
    const int rc = spawnOffice(&m_pid, m_folder, officeArguments(m_folder, m_pipeName, headless));
    if (rc != 0) {
        m_pid = -1;
        QDir(m_folder.path()).removeRecursively();
        throw HostError(HostError::Kind::StartFailed,
                        QStringLiteral("soffice could not be started: %1")
                            .arg(QString::fromLocal8Bit(strerror(rc))));
    }
    own();
}

OfficeProcess::OfficeProcess(pid_t pid, const QString& pipeName, bool headless, pid_t lender)
    : m_headless(headless), m_adopted(true), m_lender(lender), m_pid(pid), m_pipeName(pipeName),
      m_folder(InstanceFolder::ofPipe(m_pipeName))
{
    EndingSignals::endOfficesFirst();
    if (!ProcessTable::officeRunsOn(pid, m_folder.path()))
        throw HostError(HostError::Kind::StartFailed, QStringLiteral("the ready office has ended"));
    own();
}

OfficeProcess::~OfficeProcess()
{
    if (m_handedOver)
        return;
    if (isRunning() && !waitForExit(std::chrono::milliseconds(0)))
        kill();
    EndingSignals::removeOffice(m_pid);
    // The watcher, told nothing, removes the instance as after our death.
    if (!m_watcher.removeInstanceAfterOffice())
        m_folder.remove();
}

// From now on the office ends with us, however we end.
void OfficeProcess::own()
{
    EndingSignals::addOffice(m_pid);
    writeRecord(InstanceRecord::State::Owned);
    m_watcher.start(m_pid, m_folder);
}

// Another owns the office now: it no longer ends with us.
void OfficeProcess::letGo()
{
    m_handedOver = true;
    EndingSignals::removeOffice(m_pid);
    m_watcher.stop();
}

void OfficeProcess::release()
{
    letGo();
}

void OfficeProcess::handOver()
{
    letGo();
    writeRecord(InstanceRecord::State::HandedOver);
}

void OfficeProcess::giveBack()
{
    // Recorded first: if we die before the watcher is told, it kills the office, and the
    // keeper finds a dead office, never a half-given one.
    writeRecord(InstanceRecord::State::Returned);
    letGo();
}

void OfficeProcess::writeRecord(InstanceRecord::State state) const
{
    const pid_t owner = state == InstanceRecord::State::Returned ? m_lender : ::getpid();
    InstanceRecord{owner, m_pid, state}.write(m_folder.path());
}

pid_t OfficeProcess::lender()
{
    // A keeper that ended meanwhile would leave the office to nobody.
    return m_lender > 0 && ProcessTable::isAlive(m_lender) ? m_lender : 0;
}

qint64 OfficeProcess::memoryKiB() const
{
    return ProcessTable::groupMemoryKiB(m_pid);
}

bool OfficeProcess::isRunning()
{
    if (m_pid <= 0 || m_exitStatus >= 0)
        return false;
    if (m_adopted) {
        // An ended office lingers as its starter's zombie, which runs on no folder; one that a
        // keeper took back is its own child, reaped here.
        if (ProcessTable::officeRunsOn(m_pid, m_folder.path()))
            return true;
        ::waitpid(m_pid, nullptr, WNOHANG);
        m_exitStatus = 0;
        ::kill(-m_pid, SIGKILL);
        EndingSignals::removeOffice(m_pid);
        return false;
    }
    int status = 0;
    const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
    if (r == m_pid) {
        m_exitStatus = status;
        // Helpers of the office may outlive the launcher; they go with it.
        ::kill(-m_pid, SIGKILL);
        EndingSignals::removeOffice(m_pid);
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
    QFile log(m_folder.log());
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

} // namespace brelix::libreoffice
