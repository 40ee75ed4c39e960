#include "entry/settings_values.h"

quint16 NumberOfYears = 0;
quint16 NumberOfMinutes = 0;
PortfolioSettings Portfolio;
