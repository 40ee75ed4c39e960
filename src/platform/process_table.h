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

// Every process whose program file this user may read, in the system's order; processes that
// cannot be inspected are left out. Returns 0, or the error number when the process table
// itself cannot be read.
int listProcesses(QList<RunningProcess> &processes);

// The program file of a running process; empty once it has ended (or cannot be inspected).
QString processExecutable(qint64 pid);

// Asks the process to end, or ends it without asking. Return 0 or the error number; a process
// that has already gone counts as ended.
int askProcessToEnd(qint64 pid);
int killProcess(qint64 pid);

// The text of an error number as the system words it.
QString errorText(int error);

} // namespace os
