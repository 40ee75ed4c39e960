#include "platform/process_table.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <limits.h>
#include <limits>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace os {

QString processExecutable(qint64 pid)
{
    // The link names the file the process was started from; a process that has ended (also
    // while its parent has not yet collected it) no longer has one.
    const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.constData(), target, sizeof target);
    if (length <= 0 || length >= ssize_t(sizeof target))
        return QString();
    return QFile::decodeName(QByteArray(target, int(length)));
}

namespace {

bool ownedByUser(qint64 pid)
{
    struct stat info {};
    const QByteArray folder = "/proc/" + QByteArray::number(pid);
    return ::stat(folder.constData(), &info) == 0 && info.st_uid == ::geteuid();
}

} // namespace

int listProcesses(QList<RunningProcess> &processes)
{
    processes.clear();
    DIR *proc = ::opendir("/proc");
    if (!proc)
        return errno;
    while (const dirent *entry = ::readdir(proc)) {
        char *end = nullptr;
        const long long pid = std::strtoll(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || !ownedByUser(pid))
            continue;
        const QString executable = processExecutable(pid);
        if (!executable.isEmpty())
            processes.append(RunningProcess{pid, executable});
    }
    ::closedir(proc);
    return 0;
}

HeldProcess::HeldProcess(qint64 pid)
    : m_pid(pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) {
        m_error = ESRCH;
        return;
    }
    m_fd = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    if (m_fd < 0)
        m_error = errno;
}

HeldProcess::~HeldProcess()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString HeldProcess::ownExecutable() const
{
    if (m_fd < 0)
        return QString();
    // Read by the id, then the held process asked whether it still runs: if it does, the id was
    // its own all along, as an id is given again only once its process has ended.
    const QString executable = ownedByUser(m_pid) ? processExecutable(m_pid) : QString();
    if (::syscall(SYS_pidfd_send_signal, m_fd, 0, nullptr, 0) != 0)
        return QString();
    return executable;
}

int HeldProcess::signal(int number)
{
    if (m_fd < 0)
        return m_error;
    if (::syscall(SYS_pidfd_send_signal, m_fd, number, nullptr, 0) == 0 || errno == ESRCH)
        return 0;
    return errno;
}

int HeldProcess::askToEnd()
{
    return signal(SIGTERM);
}

int HeldProcess::kill()
{
    return signal(SIGKILL);
}

bool HeldProcess::waitForEnd(int ms)
{
    if (m_fd < 0)
        return true;
    // The descriptor becomes readable when the process ends.
    pollfd ended{m_fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&ended, 1, ms);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace os
