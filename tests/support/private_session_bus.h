#pragma once
// A session bus of the test's own: dbus-daemon with a session bus's configuration, listening on
// a socket in a temporary folder, activating no service. DBUS_SESSION_BUS_ADDRESS names it
// while the object lives; the daemon is stopped at the end.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <optional>

#include "support/scoped_env.h"

class PrivateSessionBus
{
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus &) = delete;
    PrivateSessionBus &operator=(const PrivateSessionBus &) = delete;

    // Empty when the daemon did not start.
    QString address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    std::optional<ScopedEnv> m_env;
};
