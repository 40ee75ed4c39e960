#include "support/month_names.h"

#include "support/code_page.h"
#include "support/held_locale.h"

#include <QLocale>
#include <QStringList>

namespace {

QString shortName(const QLocale &locale, int month)
{
    QString name = locale.monthName(month, QLocale::ShortFormat);
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    return name;
}

QStringList shortNames(const QLocale &locale)
{
    QStringList names;
    for (int month = 1; month <= 12; ++month)
        names << shortName(locale, month);
    return names;
}

// The month whose name the text is, with or without a closing point; 0 for none.
int monthIn(const QStringList &names, QStringView text)
{
    for (int month = 1; month <= 12; ++month) {
        const QString &name = names.at(month - 1);
        if (text == name
            || (text.size() == name.size() + 1 && text.startsWith(name) && text.endsWith(QLatin1Char('.'))))
            return month;
    }
    return 0;
}

const QLocale &dutchLocale()
{
    static const QLocale dutch(QLocale::Dutch, QLocale::Netherlands);
    return dutch;
}

} // namespace

QString ShortMonthName(int month)
{
    return shortName(QLocale(), month);
}

QString PositionMonthName(int month)
{
    const QString name = ShortMonthName(month);
    if (Windows1252Text(Windows1252Bytes(name)) == name)
        return name;
    return shortName(dutchLocale(), month);
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
        names = shortNames(namesLocale);
    }
    if (const int month = monthIn(names, text))
        return month;
    // Positions written under Dutch names (the program's own language) or English ones (the
    // most common desktop language besides) and read under another locale, as by a report that
    // a scheduler starts with other settings than the user's desktop, keep their month rather
    // than all being taken for December.
    static const QStringList fallbackNames[] = {shortNames(dutchLocale()), shortNames(QLocale::c())};
    for (const QStringList &names : fallbackNames) {
        if (const int month = monthIn(names, text))
            return month;
    }
    return 12;
}
