#pragma once
// A timer with the habits the program's handlers rely on: switching on a timer that already
// runs does not restart it, setting the interval it already has keeps its rhythm, a changed
// interval on a running timer starts a new period, and an interval of 0 keeps it off (rather
// than firing at every pass of the event loop).

#include <QObject>
#include <QTimer>

class SteadyTimer : public QObject
{
    Q_OBJECT
public:
    explicit SteadyTimer(int intervalMs, bool enabled, QObject *parent = nullptr);

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    void setInterval(int intervalMs);
    // Counts a whole interval again from now.
    void restart() { apply(true); }
    int interval() const { return m_interval; }
    // Whether it is really counting (enabled with an interval above 0).
    bool isActive() const { return m_timer.isActive(); }

signals:
    void timeout();

private:
    void apply(bool restart);

    QTimer m_timer;
    int m_interval;
    bool m_enabled;
};
