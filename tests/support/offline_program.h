#pragma once
// The real program started in a test, on the offscreen platform, with its home and working
// folder in the given folder and every site on a loopback port that refuses connections, so
// that a download it starts fails at once instead of reaching a quote site that happens to run
// here. Its ping utility is a script that answers with a time-out and counts its runs: the
// first probe runs right after the main window's first paint, so a counted run is the sign that
// the program is up and its event loop turns. A program still running at the end is killed.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "support/loopback_listener.h"
#include "support/scripted_ping.h"

class OfflineProgram
{
public:
    explicit OfflineProgram(const QString &home);
    ~OfflineProgram();

    // Change before start().
    QProcessEnvironment &environment() { return m_environment; }
    // Points all three sites (quote pages, index page, maker's site) at one host.
    void pointSitesAt(const QByteArray &host);
    // Starts the program with the given arguments; true once it runs.
    bool start(const QStringList &arguments = {});
    // Waits until the program has run its first connectivity probe.
    bool waitUntilReady();
    // Sends the signal and waits for the end; true when the program ended by itself.
    bool endWith(int signalNumber);
    QProcess &process() { return m_process; }
    // The ping utility: change its answer before start() for a download that goes on.
    ScriptedPing &ping() { return m_ping; }

private:
    LoopbackListener m_closedSite{LoopbackListener::Refusing};
    ScriptedPing m_ping{ScriptedPing::TimeOut};
    QProcessEnvironment m_environment;
    QProcess m_process;
};
