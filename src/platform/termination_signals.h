#pragma once
// Turns the session manager's request to end the program (SIGTERM, SIGINT, SIGHUP) into an
// ordinary event of the event loop, so that the main window can close the normal way and save.

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Whether such a request has arrived in this run (also after this object is gone).
    static bool received();

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
