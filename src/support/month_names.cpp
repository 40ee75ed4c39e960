#include "support/month_names.h"

#include "support/held_locale.h"

#include <QLocale>
#include <QStringList>

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

int MonthNumber(QStringView text)
{
    // A download looks up the month of every position: the names are asked of the locale once,
    // and again only when the default locale has changed.
    thread_local QLocale namesLocale;
    thread_local QStringList names;
    thread_local unsigned askedUnder = 0;
    const bool mustAsk = HeldLocale::mustAsk(askedUnder);
    if (names.isEmpty() || (mustAsk && !(namesLocale == QLocale()))) {
        namesLocale = QLocale();
        names.clear();
        for (int month = 1; month <= 12; ++month)
            names << ShortMonthName(month);
    }
    for (int month = 1; month <= 12; ++month) {
        const QString &name = names.at(month - 1);
        if (text == name
            || (text.size() == name.size() + 1 && text.startsWith(name) && text.endsWith(QLatin1Char('.'))))
            return month;
    }
    return 12;
}
