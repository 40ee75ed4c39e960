#include "support/private_session_bus.h"

#include <QFile>

#include "support/files.h"

PrivateSessionBus::PrivateSessionBus()
{
    // No service directories: a name nobody owns stays unowned instead of starting a program.
    const QString config = m_dir.filePath(QStringLiteral("session.conf"));
    const QByteArray text =
        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\"\n"
        " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        "<busconfig>\n"
        "  <type>session</type>\n"
        "  <listen>unix:path=" + QFile::encodeName(m_dir.filePath(QStringLiteral("bus"))) + "</listen>\n"
        "  <auth>EXTERNAL</auth>\n"
        "  <policy context=\"default\">\n"
        "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
        "    <allow eavesdrop=\"true\"/>\n"
        "    <allow own=\"*\"/>\n"
        "  </policy>\n"
        "</busconfig>\n";
    if (!writeFile(config, text))
        return;

    // The daemon complains that it may not raise its file limit when run as root; nothing to see.
    m_daemon.setStandardErrorFile(QProcess::nullDevice());
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                    QStringLiteral("--print-address")});
    if (!m_daemon.waitForStarted(5000))
        return;
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) {
    }
    m_address = QString::fromLocal8Bit(m_daemon.readLine().trimmed());
    if (!m_address.isEmpty())
        m_env.emplace("DBUS_SESSION_BUS_ADDRESS", m_address.toLocal8Bit());
}

PrivateSessionBus::~PrivateSessionBus()
{
    m_env.reset();
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }
}
