#include "market/expiry_calendar.h"

#include <array>

QDate EasterSunday(int year)
{
    // The anonymous Gregorian computus (Meeus, Jones, Butcher).
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int monthAndDay = h + l - 7 * m + 114;
    return QDate(year, monthAndDay / 31, monthAndDay % 31 + 1);
}

bool ExchangeClosed(const QDate &day)
{
    if (day.dayOfWeek() >= Qt::Saturday)
        return true;
    const int month = day.month();
    const int dayOfMonth = day.day();
    if ((month == 1 && dayOfMonth == 1) || (month == 5 && dayOfMonth == 1)
        || (month == 12 && (dayOfMonth == 25 || dayOfMonth == 26)))
        return true;
    return day == EasterSunday(day.year()).addDays(-2);
}

QDate LastOpenDayOnOrBefore(const QDate &day)
{
    // At most four closed days follow each other (Christmas after a weekend), so this stops.
    QDate open = day;
    while (open.isValid() && ExchangeClosed(open))
        open = open.addDays(-1);
    return open;
}

std::optional<int> SeriesFriday(QStringView series)
{
    if (series == QLatin1String("AEX"))
        return 3;
    if (series.size() == 3 && series.startsWith(QLatin1String("AX"))) {
        const char16_t n = series.at(2).unicode();
        if (n == u'1' || n == u'2' || n == u'4' || n == u'5')
            return int(n - u'0');
    }
    return std::nullopt;
}

QDate NthFriday(int year, int month, int n)
{
    const QDate first(year, month, 1);
    if (!first.isValid() || n < 1)
        return QDate();
    const int firstFriday = 1 + (Qt::Friday - first.dayOfWeek() + 7) % 7;
    const QDate friday = first.addDays(firstFriday - 1 + 7 * (n - 1));
    return friday.month() == month ? friday : QDate();
}

QDate SeriesExpiry(QStringView series, int year, int month)
{
    const std::optional<int> friday = SeriesFriday(series);
    if (!friday)
        return QDate();
    // Every position of a list asks for the day of its series, and a list holds few series: the
    // days found last are kept, each in a slot of its own series and month (a date takes a
    // dozen calendar conversions to work out).
    struct Found {
        int year = 0, month = 0, friday = 0;
        QDate day;
    };
    thread_local std::array<Found, 256> found;
    Found &slot = found[(unsigned(year) * 12u + unsigned(month) + 37u * unsigned(*friday)) % found.size()];
    if (slot.year != year || slot.month != month || slot.friday != *friday)
        slot = {year, month, *friday, LastOpenDayOnOrBefore(NthFriday(year, month, *friday))};
    return slot.day;
}

QDate MonthlyExpiry(int year, int month)
{
    return SeriesExpiry(u"AEX", year, month);
}

std::optional<SeriesMonth> SeriesExpiringOn(const QDate &day)
{
    for (const QDate month : {day, day.addMonths(1)}) {
        for (const char *series : {"AX1", "AX2", "AEX", "AX4", "AX5"}) {
            const QString code = QString::fromLatin1(series);
            if (SeriesExpiry(code, month.year(), month.month()) == day)
                return SeriesMonth{code, month.year(), month.month()};
        }
    }
    return std::nullopt;
}
