#include "host/libreoffice/OwnerWatcher.h"

#include "host/libreoffice/InstanceFolder.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace brelix::libreoffice {

namespace {

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

void OwnerWatcher::start(pid_t office, const InstanceFolder& instance)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    QByteArray folder = QFile::encodeName(instance.path());
    const QStringList sockets = instance.sockets();
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
        runOwnerWatch(fds[0], office, folder.constData(), removeCommand, previous);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(fds[0]);
    if (watcher < 0) {
        ::close(fds[1]);
        return;
    }
    m_pid = watcher;
    m_pipe = fds[1];
}

void OwnerWatcher::stop()
{
    if (m_pid <= 0)
        return;
    const char stop = 's';
    if (::write(m_pipe, &stop, 1) != 1)
        ::kill(m_pid, SIGKILL);
    ::close(m_pipe);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
    m_pipe = -1;
}

bool OwnerWatcher::removeInstanceAfterOffice()
{
    reapFinishedWatchers();
    if (m_pid <= 0)
        return false;
    // The folder holds the profile, hundreds of files: removing them took longer than the end
    // of the office. The watcher, told nothing, removes it.
    ::close(m_pipe);
    const std::lock_guard lock(g_finishingWatchersMutex);
    g_finishingWatchers.push_back(m_pid);
    m_pid = -1;
    m_pipe = -1;
    return true;
}

} // namespace brelix::libreoffice
