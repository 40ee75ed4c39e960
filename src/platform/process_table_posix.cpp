#include "platform/process_table.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <limits.h>
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

int listProcesses(QList<RunningProcess> &processes)
{
    processes.clear();
    DIR *proc = ::opendir("/proc");
    if (!proc)
        return errno;
    while (const dirent *entry = ::readdir(proc)) {
        char *end = nullptr;
        const long long pid = std::strtoll(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        const QString executable = processExecutable(pid);
        if (!executable.isEmpty())
            processes.append(RunningProcess{pid, executable});
    }
    ::closedir(proc);
    return 0;
}

namespace {

int sendSignal(qint64 pid, int signal)
{
    if (pid <= 0)
        return EINVAL;
    if (::kill(pid_t(pid), signal) == 0 || errno == ESRCH)
        return 0;
    return errno;
}

} // namespace

int askProcessToEnd(qint64 pid)
{
    return sendSignal(pid, SIGTERM);
}

int killProcess(qint64 pid)
{
    return sendSignal(pid, SIGKILL);
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace os
