#include "market/connectivity_probe.h"

#include "support/code_page.h"
#include "support/scratch_files.h"
#include "support/system_info.h"

#include <QCoreApplication>
#include <QFile>

namespace {

const QString kOutputFile = QStringLiteral("tmp.txt");

// A line of ping output is short; a longer one is read up to this and its rest passed over.
constexpr qint64 kLongestOutputLine = 4096;

// The third line of the output, read through the file the probe made: in a folder that others
// may write to, the name could meanwhile stand for another file or a pipe that never answers. A
// line missing or unreadable reads as empty.
QString readThirdLine(QFile &file)
{
    if (!file.seek(0))
        return QString();
    QByteArray line;
    for (int i = 0; i < 3; ++i) {
        line = file.atEnd() ? QByteArray() : file.readLine(kLongestOutputLine);
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
    }
    return Windows1252Text(line);
}

} // namespace

QString PingProgram()
{
    const QString configured = qEnvironmentVariable("PELGRANDIX_PING");
    if (!configured.isEmpty())
        return configured;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/pelgrandix-ping");
}

ProbeResult RunConnectivityProbe(const QString &host, int timeLimitMs)
{
    ProbeResult probe;
    // The program opens the output file itself and hands it to the interpreter as its output:
    // a redirection by name in the command would follow a symbolic link planted at the name.
    ScratchFile output = CreateScratchFile(kOutputFile);
    if (!output.file)
        return probe;
    const QString command = ShellWord(PingProgram()) + QLatin1Char(' ') + ShellWord(host)
                            + QStringLiteral(" -n 1 -w 100");
    const CommandResult run = ExecuteShellCommand(command, true, timeLimitMs,
                                                  output.file->handle());

    probe.timedOut = run.timedOut;
    // Whatever a stopped ping left half-written says nothing about the connection.
    if (!probe.timedOut)
        probe.thirdLine = readThirdLine(*output.file);
    output.file.reset();
    DeleteFileStr(output.path);
    return probe;
}

bool MarketProbePassed(const ProbeResult &probe)
{
    return !probe.timedOut && !probe.thirdLine.isEmpty()
           && !probe.thirdLine.contains(QStringLiteral("Time-out"));
}

bool UpdateProbePassed(const ProbeResult &probe)
{
    return !probe.timedOut && !probe.thirdLine.contains(QStringLiteral("Time-out"));
}
