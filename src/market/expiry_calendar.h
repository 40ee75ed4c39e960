#pragma once
// The days on which AEX index options expire, as the exchange lists them. The monthly series
// expires on the third Friday of its month, each weekly series on its own Friday of the month
// (AX1 the first, AX2 the second, AX4 the fourth, AX5 the fifth); when the exchange is closed
// on that Friday, the series expires on the last business day before it. Quote pages list every
// series under that day, so the quote lookup, the add dialog and the risk figures all use it.

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

// Easter Sunday of a year of the Gregorian calendar.
QDate EasterSunday(int year);

// Whether the exchange is closed on a day: Saturday, Sunday, Good Friday, 1 January, 1 May,
// 25 and 26 December.
bool ExchangeClosed(const QDate &day);

// The day itself when the exchange is open then, else the last day before it that it is.
QDate LastOpenDayOnOrBefore(const QDate &day);

// Which Friday of its month a series expires on: 1 for "AX1", 2 for "AX2", 3 for the monthly
// series "AEX", 4 for "AX4", 5 for "AX5"; none for any other code.
std::optional<int> SeriesFriday(QStringView series);

// The nth Friday (1 to 5) of a month; an invalid date when the month has no such Friday.
QDate NthFriday(int year, int month, int n);

// The day on which the series of that month and year expires. An invalid date when the code is
// no series, the month has no such Friday (no fifth one), or month and year are no month. The
// day may lie in the month before: a first Friday on 1 January moves to 31 December.
QDate SeriesExpiry(QStringView series, int year, int month);

// The monthly series "AEX".
QDate MonthlyExpiry(int year, int month);

// The series that expires on a day, with the month and year it is named by (which may be the
// month after the day: the first Friday of January can expire on 31 December); none when no
// series expires then.
struct SeriesMonth {
    QString series;
    int year = 0;
    int month = 0;
};
std::optional<SeriesMonth> SeriesExpiringOn(const QDate &day);
