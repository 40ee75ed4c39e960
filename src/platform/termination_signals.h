#pragma once
// Turns the session manager's request to end the program (SIGTERM, SIGINT, SIGHUP) into an
// ordinary event of the event loop, so that the main window can close the normal way and save.
//
// The event loop cannot run while a fetch or the probe's command blocks it, so the signal also
// sets a flag that those waits ask: they give up at once, and the loop then takes the event.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

// True once a termination signal has come.
bool TerminationRequested();
