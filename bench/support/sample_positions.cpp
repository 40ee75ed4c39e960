#include "support/sample_positions.h"

namespace bench {

QStringList samplePositionLines(int count)
{
    static const char *const months[] = {"jan", "feb", "mrt", "apr", "mei", "jun",
                                         "jul", "aug", "sep", "okt", "nov", "dec"};
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("AEX; %1; %2; %3; %4; 12,34; 11,%5; %6; %7,00; %8")
                     .arg(i % 2 ? QStringLiteral("Call") : QStringLiteral("Put"))
                     .arg(QLatin1String(months[i % 12]))
                     .arg(2026 + i % 5)
                     .arg(300 + i % 400)
                     .arg(i % 100, 2, 10, QLatin1Char('0'))
                     .arg(1 + i % 9)
                     .arg(i % 1000)
                     .arg(i % 2);
    return lines;
}

} // namespace bench
