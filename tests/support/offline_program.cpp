#include "support/offline_program.h"

#include <csignal>

#include "support/wait_until.h"

OfflineProgram::OfflineProgram(const QString &home)
    : m_environment(QProcessEnvironment::systemEnvironment())
{
    m_environment.insert(QStringLiteral("HOME"), home);
    m_environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    m_environment.remove(QStringLiteral("XDG_DATA_HOME"));
    m_environment.remove(QStringLiteral("XDG_STATE_HOME"));
    m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_environment.insert(QStringLiteral("PELGRANDIX_PING"), m_ping.path());
    pointSitesAt(m_closedSite.host());
    m_process.setWorkingDirectory(home);
}

void OfflineProgram::pointSitesAt(const QByteArray &host)
{
    for (const char *site : {"PELGRANDIX_MAKER_HOST", "PELGRANDIX_INDEX_HOST", "PELGRANDIX_QUOTE_HOST"})
        m_environment.insert(QLatin1String(site), QString::fromLatin1(host));
}

OfflineProgram::~OfflineProgram()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

bool OfflineProgram::start(const QStringList &arguments)
{
    m_process.setProcessEnvironment(m_environment);
    m_process.start(QStringLiteral(PELGRANDIX_BIN_DIR "/pelgrandix"), arguments);
    return m_process.waitForStarted(kPatienceMs);
}

bool OfflineProgram::waitUntilReady()
{
    return waitUntil([this] { return m_ping.runCount() > 0 || m_process.state() == QProcess::NotRunning; })
        && m_ping.runCount() > 0;
}

bool OfflineProgram::endWith(int signalNumber)
{
    // A program that has ended has no id any more, and a signal to id 0 would reach every
    // process of the group, the test runner included.
    const qint64 pid = m_process.processId();
    if (pid <= 0)
        return false;
    ::kill(pid_t(pid), signalNumber);
    return m_process.waitForFinished(kPatienceMs) && m_process.exitStatus() == QProcess::NormalExit;
}
