#pragma once
// Finding a running program of this user by the full path of its executable and ending it: used
// to stop the companion program before the installer replaces the program's files. A process is
// known by its process id here; 0 means none. Processes of other users are neither found nor
// ended.

#include <QString>
#include <QtGlobal>

#include <functional>

// Whether processes are listed with their full executable paths; always so here.
bool WindowsIsNT();

// The first process of this user running the executable at exeName, compared on the full path
// as it is (this file system tells "a" from "A"), without blanks around it; 0 when none runs.
// Throws UpdateError when the process table cannot be read.
qint64 GetpID(const QString &exeName);
qint64 GetProcessHandleFromExeNT(const QString &exePath);
qint64 GetProcessHandleFromExe(const QString &exePath);

// Ends the process pid when it still runs exePath for this user: it is asked to end and, when it
// has not done so within half a second, ended without asking (a process cannot be given its
// exit code from outside here). The process is held while this goes on, so that an id given
// again to another process in between is never signalled. Throws UpdateError when the process
// may not be ended.
void TerminateProcessId(qint64 pid, const QString &exePath);

// Ends the process running exeName; throws UpdateError with exeName + " is not running, cannot
// terminate it!" when none runs.
void TerminateExe(const QString &exeName);

// HomeDir + programName + "_Sched.exe": the program's companion, which must not run while the
// installer replaces files.
QString CompanionPath(const QString &programName);

// Ends every process running the executable at path, letting processEvents run between the
// attempts. A companion that keeps coming back is given up on after limitMs: returns false
// then, true when none runs any more. terminate ends one process (TerminateProcessId unless
// another is given); its failures do not stop the attempts.
bool StopCompanion(const QString &path, const std::function<void()> &processEvents,
                   int limitMs = 5000, const std::function<void(qint64 pid)> &terminate = {});
