#include "update/process_control.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>

#include "platform/process_table.h"
#include "update/update_error.h"
#include "update/update_state.h"

namespace {

constexpr int kTerminateGraceMs = 500;
constexpr int kPollMs = 10;

// The path as compared: without leading and trailing blanks and control characters, and
// otherwise as it is. A symbolic link is not followed: the companion's path could point at
// another program, whose processes must not be stopped.
QString executableKey(const QString &path)
{
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path.at(begin).unicode() <= ' ')
        ++begin;
    while (end > begin && path.at(end - 1).unicode() <= ' ')
        --end;
    return path.mid(begin, end - begin);
}

} // namespace

bool WindowsIsNT()
{
    return true;
}

qint64 GetProcessHandleFromExeNT(const QString &exePath)
{
    const QString key = executableKey(exePath);
    QList<os::RunningProcess> processes;
    if (const int error = os::listProcesses(processes))
        throw UpdateError(os::errorText(error));
    for (const os::RunningProcess &process : processes) {
        if (process.executable == key)
            return process.pid;
    }
    return 0;
}

qint64 GetProcessHandleFromExe(const QString &exePath)
{
    // One way to list processes serves every system here.
    return GetProcessHandleFromExeNT(exePath);
}

qint64 GetpID(const QString &exeName)
{
    return WindowsIsNT() ? GetProcessHandleFromExeNT(exeName) : GetProcessHandleFromExe(exeName);
}

void TerminateProcessId(qint64 pid, const QString &exePath)
{
    os::HeldProcess process(pid);
    if (process.error() == ESRCH)
        return;  // it has ended
    if (process.error() != 0)
        throw UpdateError(os::errorText(process.error()));
    // Found by its id a moment ago, which may since have been given to another program.
    if (process.ownExecutable() != executableKey(exePath))
        return;
    if (const int error = process.askToEnd())
        throw UpdateError(os::errorText(error));
    if (process.waitForEnd(kTerminateGraceMs))
        return;
    if (const int error = process.kill())
        throw UpdateError(os::errorText(error));
}

void TerminateExe(const QString &exeName)
{
    const qint64 pid = GetpID(exeName);
    if (pid == 0)
        throw UpdateError(exeName + QStringLiteral(" is not running, cannot terminate it!"));
    TerminateProcessId(pid, exeName);
}

QString CompanionPath(const QString &programName)
{
    return HomeDir + programName + QStringLiteral("_Sched.exe");
}

bool StopCompanion(const QString &path, const std::function<void()> &processEvents, int limitMs,
                   const std::function<void(qint64 pid)> &terminate)
{
    const QDeadlineTimer limit(limitMs);
    for (qint64 pid = GetpID(path); pid != 0; pid = GetpID(path)) {
        if (limit.hasExpired())
            return false;
        try {
            if (terminate)
                terminate(pid);
            else
                TerminateProcessId(pid, path);
        } catch (const UpdateError &) {
            // Ask again: the process may still end, or the limit ends the attempts.
            QThread::msleep(kPollMs);
        }
        if (processEvents)
            processEvents();
    }
    return true;
}
