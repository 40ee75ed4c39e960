#include "entry/settings_values.h"

#include <algorithm>

quint16 NumberOfYears = 0;
quint16 NumberOfMinutes = 0;

quint16 DownloadMinutesOf(int storedValue)
{
    return quint16(std::clamp(storedValue, kMinDownloadMinutes, kMaxDownloadMinutes));
}

WindowPlace OverviewPlace = kOverviewDefaultPlace;
