#include "platform/process_runner.h"

#include "platform/termination_signals.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <csignal>
#include <unistd.h>

namespace platform {

namespace {

// How often the wait looks whether the program has been asked to end.
constexpr int kTerminationPollMs = 50;

// Waits for the process to end, at most until the deadline and only while the program is not
// asked to end. True when it ended.
bool waitForEnd(QProcess &process, const QDeadlineTimer &deadline)
{
    while (!WaitsMustEnd() && !deadline.hasExpired()) {
        if (process.waitForFinished(kTerminationPollMs) || process.state() == QProcess::NotRunning)
            return true;
    }
    return false;
}

} // namespace

ProcessRun runAndWait(const QString &program, const QStringList &arguments, bool showOutput,
                      int timeLimitMs, int outputFd)
{
    ProcessRun run;
    if (WaitsMustEnd())
        return run;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (showOutput) {
        process.setProcessChannelMode(QProcess::ForwardedChannels);
    } else {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
    // A group of its own, so that stopping it at the limit also stops what it started (the
    // interpreter's ping, for one) instead of leaving those behind.
    process.setChildProcessModifier([outputFd] {
        ::setpgid(0, 0);
        if (outputFd >= 0)
            ::dup2(outputFd, STDOUT_FILENO);
    });

    process.start();
    if (!process.waitForStarted(-1))
        return run;
    run.started = true;

    if (!waitForEnd(process, QDeadlineTimer(timeLimitMs))) {
        const qint64 group = process.processId();
        if (group > 0)
            ::kill(-static_cast<pid_t>(group), SIGKILL);
        process.waitForFinished(-1);
        run.timedOut = true;
        return run;
    }
    // A program ended by a signal has no exit code to report.
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    return run;
}

} // namespace platform
