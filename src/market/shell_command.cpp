#include "market/shell_command.h"

#include "platform/process_runner.h"

#include <QStringList>

namespace {

// The interpreter's path as the first word of a command line.
QString programWord(const QString &path)
{
    return path.contains(QLatin1Char(' ')) ? QLatin1Char('"') + path + QLatin1Char('"') : path;
}

// Splits a command line into the program, its switch, and the rest as one argument, the way the
// interpreter itself would see the command after its switch.
struct SplitLine {
    QString program;
    QStringList arguments;
};

qsizetype skipSpaces(const QString &line, qsizetype at)
{
    while (at < line.size() && line.at(at) == QLatin1Char(' '))
        ++at;
    return at;
}

SplitLine splitCommandLine(const QString &line)
{
    SplitLine split;
    qsizetype at = skipSpaces(line, 0);
    if (at < line.size() && line.at(at) == QLatin1Char('"')) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), at + 1);
        const qsizetype end = close < 0 ? line.size() : close;
        split.program = line.mid(at + 1, end - at - 1);
        at = close < 0 ? line.size() : close + 1;
    } else {
        qsizetype end = line.indexOf(QLatin1Char(' '), at);
        if (end < 0)
            end = line.size();
        split.program = line.mid(at, end - at);
        at = end;
    }
    at = skipSpaces(line, at);
    if (at >= line.size())
        return split;
    qsizetype end = line.indexOf(QLatin1Char(' '), at);
    if (end < 0)
        end = line.size();
    split.arguments << line.mid(at, end - at);
    at = skipSpaces(line, end);
    if (at < line.size())
        split.arguments << line.mid(at);
    return split;
}

} // namespace

CommandResult RunCommandLine(const QString &commandLine, quint16 showWindow, int timeLimitMs,
                             int outputFd)
{
    CommandResult result;
    const SplitLine split = splitCommandLine(commandLine);
    if (split.program.isEmpty())
        return result;
    const platform::ProcessRun run = platform::runAndWait(split.program, split.arguments,
                                                          showWindow != kShowHidden, timeLimitMs,
                                                          outputFd);
    result.timedOut = run.timedOut;
    if (run.started && !run.timedOut)
        result.exitCode = run.exitCode;
    return result;
}

int WinExecAndWait(const QString &commandLine, quint16 showWindow, int timeLimitMs)
{
    return RunCommandLine(commandLine, showWindow, timeLimitMs).exitCode;
}

CommandResult ExecuteShellCommand(const QString &command, bool hidden, int timeLimitMs,
                                  int outputFd)
{
    const QString comSpec = qEnvironmentVariable("COMSPEC");
    QString line = comSpec.isEmpty() ? QStringLiteral("/bin/sh -c ") + command
                                     : programWord(comSpec) + QStringLiteral(" /C ") + command;
    const qsizetype zero = line.indexOf(QChar(0));
    if (zero >= 0)
        line.truncate(zero);
    return RunCommandLine(line, hidden ? kShowHidden : kShowNormal, timeLimitMs, outputFd);
}

QString ShellWord(const QString &text)
{
    static const QString literal = QStringLiteral("._-:/@%+=,");
    bool plain = !text.isEmpty();
    for (const QChar c : text) {
        if (!(c.unicode() < 128 && (c.isLetterOrNumber() || literal.contains(c)))) {
            plain = false;
            break;
        }
    }
    if (plain)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}
