#include "support/wait_until.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

bool waitForTimer(int ms)
{
    bool reached = false;
    QTimer::singleShot(ms, [&reached] { reached = true; });
    return waitUntil([&reached] { return reached; });
}
