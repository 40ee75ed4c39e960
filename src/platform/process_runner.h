#pragma once
// Starting a program and waiting for it without processing any window messages, with a time
// limit: a program still running at the limit is stopped together with every process it
// started, so that a hanging command can never freeze the caller for good. The same happens
// at once when the program is asked to end (WaitsMustEnd), and nothing is started
// after that.

#include <QString>
#include <QStringList>

namespace platform {

struct ProcessRun {
    bool started = false;
    bool timedOut = false;  // still running at the limit or at the program's end, stopped
                            // with everything it started
    int exitCode = -1;      // meaningful only when it ended on its own with an exit code
};

// Runs program with arguments in the current folder and environment; its input is empty. With
// showOutput false nothing it writes to its output is shown, else it goes to this program's own
// output (the counterpart of a console window). An outputFd of 0 or more receives its standard
// output instead, either way.
ProcessRun runAndWait(const QString &program, const QStringList &arguments, bool showOutput,
                      int timeLimitMs, int outputFd = -1);

} // namespace platform
