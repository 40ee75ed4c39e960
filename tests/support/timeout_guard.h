#pragma once
// Sets the receive time-out of every fetch, and its overall deadline when given, for the life of
// the guard, and puts the old ones back.

#include "market/internet.h"

class TimeoutGuard
{
public:
    explicit TimeoutGuard(int receiveMs, int deadlineMs = FetchDeadline())
        : m_receive(ReceiveTimeout()), m_deadline(FetchDeadline())
    {
        SetReceiveTimeout(receiveMs);
        SetFetchDeadline(deadlineMs);
    }
    ~TimeoutGuard()
    {
        SetReceiveTimeout(m_receive);
        SetFetchDeadline(m_deadline);
    }
    TimeoutGuard(const TimeoutGuard &) = delete;
    TimeoutGuard &operator=(const TimeoutGuard &) = delete;

private:
    int m_receive, m_deadline;
};
