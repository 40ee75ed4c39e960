#pragma once
// The running processes as the operating system lists them, and the means to end one. The
// rules for finding the companion program by its executable are written on top of this.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace os {

struct RunningProcess {
    qint64 pid = 0;
    QString executable;  // full path of the program file the process runs
};

// Every process of this user, in the system's order; processes of other users and those that
// cannot be inspected are left out. Returns 0, or the error number when the process table
// itself cannot be read.
int listProcesses(QList<RunningProcess> &processes);

// The program file of a running process; empty once it has ended (or cannot be inspected).
QString processExecutable(qint64 pid);

// A process held by a descriptor of its own rather than by its id: it stays that process when it
// ends and its id is given to another, so a signal sent through it never reaches another
// process.
class HeldProcess
{
public:
    // Holds the process that has the id now; see error() when that fails.
    explicit HeldProcess(qint64 pid);
    ~HeldProcess();
    HeldProcess(const HeldProcess &) = delete;
    HeldProcess &operator=(const HeldProcess &) = delete;

    // 0 when held; ESRCH when no process has the id; another error number otherwise.
    int error() const { return m_error; }
    // The held process's program file when it belongs to this user and still runs; empty
    // otherwise.
    QString ownExecutable() const;
    // Asks it to end, or ends it without asking: 0 or the error number; a process that has ended
    // counts as ended.
    int askToEnd();
    int kill();
    // Waits up to ms for its end; true once it has ended.
    bool waitForEnd(int ms);

private:
    int signal(int number);

    qint64 m_pid;
    int m_fd = -1;
    int m_error = 0;
};

// The text of an error number as the system words it.
QString errorText(int error);

} // namespace os
