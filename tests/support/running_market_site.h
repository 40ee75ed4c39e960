#pragma once
// The built demo quote site, pelgrandix-market, started on a free port of 127.0.0.1 for one
// test and stopped at its end. It keeps the key that signs its version list in a state folder of
// its own, not in the home of whoever runs the tests.

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "support/loopback_listener.h"

class RunningMarketSite
{
public:
    explicit RunningMarketSite(const QStringList &extra = {});
    ~RunningMarketSite();
    RunningMarketSite(const RunningMarketSite &) = delete;
    RunningMarketSite &operator=(const RunningMarketSite &) = delete;

    QProcess &process() { return m_process; }
    // Its XDG_STATE_HOME.
    QString stateFolder() const { return m_state.path(); }
    // "127.0.0.1:<port>", as the host variables take it.
    QByteArray host() const { return LoopbackHost(port); }

    int port = 0;  // 0 when the site did not start

private:
    QTemporaryDir m_state;
    QProcess m_process;
};
