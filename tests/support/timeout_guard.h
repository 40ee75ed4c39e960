#pragma once
// Sets the receive time-out of every fetch for the life of the guard, and puts the old one back.

#include "market/internet.h"

class TimeoutGuard
{
public:
    explicit TimeoutGuard(int ms) : m_old(ReceiveTimeout()) { SetReceiveTimeout(ms); }
    ~TimeoutGuard() { SetReceiveTimeout(m_old); }
    TimeoutGuard(const TimeoutGuard &) = delete;
    TimeoutGuard &operator=(const TimeoutGuard &) = delete;

private:
    int m_old;
};
