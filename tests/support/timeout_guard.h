#pragma once
// Sets the receive time-out of every fetch, and its overall deadline when given, for the life of
// the guard, and puts the old ones back.

#include "market/internet.h"
#include "market/page_fetch.h"

// The receive time-out of every fetch after the first index refresh.
inline constexpr int kReceiveTimeoutMs = kIndexReceiveTimeoutMs;
// Far more than a download from a local site may take, also in the sanitizer build on a busy
// machine, and still far less than the receive time-out a forgotten one would wait.
inline constexpr qint64 kWithinTimeOutsMs = 5 * kReceiveTimeoutMs;

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
