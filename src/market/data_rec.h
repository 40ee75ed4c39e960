#pragma once
// The record that carries the expiry range offered by the add dialog and the inputs and result
// of a quote lookup, with the rule that sets the range.

#include <QChar>
#include <QDate>
#include <QString>
#include <QTime>

struct TDataRec {
    quint16 MonthFrom = 0;  // first expiry month the add dialog offers (1-12)
    quint16 YearFrom = 0;   // year of MonthFrom
    quint16 MonthTill = 0;  // kept for the record's shape; nothing reads it
    quint16 YearTill = 0;   // last expiry year the add dialog offers
    quint16 PriceFrom = 0;  // kept for the record's shape; nothing reads it
    quint16 PriceTill = 0;  // kept for the record's shape; nothing reads it
    QChar CP;               // 'C' for a call, 'P' for a put
    double UitOefen = 0;    // strike
    quint16 ExpMonth = 0;
    quint16 ExpYear = 0;
    quint16 ExpDay = 0;
    double AEX = 0;         // index level; nothing reads it
    QString Koers;          // lookup result: the price text with its leading blank, " 0.0" if none

    bool operator==(const TDataRec &) const = default;
};

// Time of day at which the last option download finished; midnight before the first one.
extern QTime LastTime;

// Day of the week numbered Sunday = 1 to Saturday = 7.
int WeekdayNumber(const QDate &date);

// Day of the month of the third Friday.
int ThirdFriday(int year, int month);

// First month and year that the add dialog offers, and the last year: the current month until
// its third Friday has passed, then the next one.
void PrepareDataRec(TDataRec &rec, const QDate &today, quint16 numberOfYears);
