#include "support/month_names.h"

#include <QLocale>

QString ShortMonthName(int month)
{
    QString name = QLocale().monthName(month, QLocale::ShortFormat);
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

QString LongMonthName(int month)
{
    return QLocale().monthName(month, QLocale::LongFormat);
}

int MonthNumber(const QString &text)
{
    for (int month = 1; month <= 12; ++month) {
        const QString name = ShortMonthName(month);
        if (text == name || text == name + QLatin1Char('.'))
            return month;
    }
    return 12;
}
