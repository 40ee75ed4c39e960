#include "platform/steady_timer.h"

SteadyTimer::SteadyTimer(int intervalMs, bool enabled, QObject *parent)
    : QObject(parent), m_interval(intervalMs), m_enabled(enabled)
{
    connect(&m_timer, &QTimer::timeout, this, &SteadyTimer::timeout);
    apply(true);
}

void SteadyTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    apply(true);
}

void SteadyTimer::setInterval(int intervalMs)
{
    if (intervalMs == m_interval)
        return;
    m_interval = intervalMs;
    apply(true);
}

void SteadyTimer::apply(bool restart)
{
    if (!m_enabled || m_interval <= 0) {
        m_timer.stop();
        return;
    }
    if (restart || !m_timer.isActive())
        m_timer.start(m_interval);
}
