#pragma once
// Running a command through the command interpreter and waiting for it, as the connectivity
// probes do. The interpreter is the one named by COMSPEC (called as COMSPEC /C command) or,
// without it, /bin/sh -c command. The wait blocks without processing window messages, but never
// longer than the time limit, nor once the program has been asked to end: an interpreter still
// running then is stopped together with what it started, and the run counts as failed.

#include <QString>

// Window modes for WinExecAndWait.
inline constexpr quint16 kShowHidden = 0;
inline constexpr quint16 kShowNormal = 1;

inline constexpr int kCommandTimeLimitMs = 10000;

struct CommandResult {
    int exitCode = -1;      // -1: could not be started, or stopped at the time limit
    bool timedOut = false;  // still running at the time limit and stopped
};

// Runs command through the interpreter. The command goes as it is, up to a zero character,
// however long: a command cut short could lose its end (an output redirection, for one). One
// too long for the system to pass on cannot be started. Callers that only need the command's
// effect (a file it wrote) may ignore the result. An outputFd of 0 or more receives the
// interpreter's output.
CommandResult ExecuteShellCommand(const QString &command, bool hidden,
                                  int timeLimitMs = kCommandTimeLimitMs, int outputFd = -1);

// Starts a command line and waits for it. The line is read as the interpreter's path (in double
// quotes when it holds spaces), its switch, and everything after the switch as one argument.
// Returns the exit code, or -1 when the process cannot be started or had to be stopped.
int WinExecAndWait(const QString &commandLine, quint16 showWindow,
                   int timeLimitMs = kCommandTimeLimitMs);
// The same, telling also whether the time limit stopped it.
CommandResult RunCommandLine(const QString &commandLine, quint16 showWindow,
                             int timeLimitMs = kCommandTimeLimitMs, int outputFd = -1);

// The text as one word of the shell's command language: unchanged when it holds only characters
// that the shell takes literally, else in single quotes.
QString ShellWord(const QString &text);
