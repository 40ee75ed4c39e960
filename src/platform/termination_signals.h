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
// Set when the program ends by the close of its window: a download that the close interrupted
// must not go on waiting after it, nor change the positions after they were saved. False takes
// it back (for tests, which close many windows in one process).
void SetProgramEnding(bool ending);
bool ProgramEnding();
// Whether a wait (a fetch, a command) must give up at once: the program is to end.
bool WaitsMustEnd();
