#include "market/data_rec.h"

QTime LastTime(0, 0);

int WeekdayNumber(const QDate &date)
{
    // QDate counts Monday = 1 to Sunday = 7.
    return date.dayOfWeek() % 7 + 1;
}

int ThirdFriday(int year, int month)
{
    const int w = WeekdayNumber(QDate(year, month, 1));
    return (13 - w) % 7 + 15;
}

void PrepareDataRec(TDataRec &rec, const QDate &today, quint16 numberOfYears)
{
    int year = today.year();
    int month = today.month();
    if (today.day() > ThirdFriday(year, month)) {
        if (month == 12) {
            month = 1;
            ++year;
        } else {
            ++month;
        }
    }
    rec.MonthFrom = quint16(month);
    rec.YearFrom = quint16(year);
    rec.YearTill = quint16(rec.YearFrom + numberOfYears);
}
