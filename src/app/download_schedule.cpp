#include "app/download_schedule.h"

bool DownloadAllowed(const QTime &now, const QTime &lastTime)
{
    static const QTime dayStart(9, 0);
    static const QTime dayEnd(18, 10);
    static const QTime closingPricesIn(18, 39);
    if (now > dayStart && now < dayEnd)
        return true;
    return lastTime < closingPricesIn;
}
