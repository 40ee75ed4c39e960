#include "market/connectivity_probe.h"

#include "support/code_page.h"
#include "support/scratch_files.h"
#include "support/system_info.h"

#include <QCoreApplication>
#include <QFile>

namespace {

const QString kOutputFile = QStringLiteral("tmp.txt");

// The third line of the output file; a line missing or unreadable reads as empty.
QString readThirdLine(const QString &path)
{
    QFile file;
    if (!OpenScratchFileForReading(path, file))
        return QString();
    QByteArray line;
    for (int i = 0; i < 3; ++i) {
        line = file.atEnd() ? QByteArray() : file.readLine();
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
    output.file.reset();

    probe.timedOut = run.timedOut;
    // Whatever a stopped ping left half-written says nothing about the connection.
    if (!probe.timedOut)
        probe.thirdLine = readThirdLine(output.path);
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
