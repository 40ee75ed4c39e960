#include "support/running_market_site.h"

#include "support/wait_until.h"

RunningMarketSite::RunningMarketSite(const QStringList &extra)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_STATE_HOME"), m_state.path());
    m_process.setProcessEnvironment(environment);
    m_process.setProgram(QStringLiteral(PELGRANDIX_BIN_DIR "/pelgrandix-market"));
    m_process.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0")} + extra);
    m_process.start();
    if (!m_process.waitForStarted(kPatienceMs))
        return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(kPatienceMs)) {
    }
    const QByteArray line = m_process.readLine().trimmed();
    if (line.startsWith("listening on 127.0.0.1:"))
        port = line.mid(line.lastIndexOf(':') + 1).toInt();
}

RunningMarketSite::~RunningMarketSite()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(kPatienceMs);
    }
}
