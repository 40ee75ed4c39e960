#include "market/connectivity_probe.h"

#include "support/system_info.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

namespace {

const QString kOutputFile = QStringLiteral("tmp.txt");

// The third line of the output file; a line missing or unreadable reads as empty.
QString readThirdLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray line;
    for (int i = 0; i < 3; ++i) {
        line = file.atEnd() ? QByteArray() : file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
    }
    QStringDecoder decoder("Windows-1252");
    return decoder(line);
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
    const QString command = ShellWord(PingProgram()) + QLatin1Char(' ') + ShellWord(host)
                            + QStringLiteral(" -n 1 -w 100 > ") + kOutputFile;
    const CommandResult run = ExecuteShellCommand(command, true, timeLimitMs);

    ProbeResult probe;
    probe.timedOut = run.timedOut;
    // Whatever a stopped ping left half-written says nothing about the connection.
    if (!probe.timedOut)
        probe.thirdLine = readThirdLine(kOutputFile);
    DeleteFileStr(kOutputFile);
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
