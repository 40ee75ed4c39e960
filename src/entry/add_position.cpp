#include "entry/add_position.h"

#include <QDate>

#include <algorithm>
#include <iterator>

#include "market/data_rec.h"
#include "market/expiry_calendar.h"
#include "positions/position_line.h"
#include "positions/position_view.h"
#include "market/quote_lookup.h"
#include "support/conversion_error.h"
#include "support/month_names.h"
#include "support/text_routines.h"

namespace {

const QString kNoStrike = QStringLiteral("Geen");

const QString kDateForm = QStringLiteral("dd-MM-yyyy");

// A quote line belongs to a kind and expiry when it holds both texts.
bool offersStrike(const QString &line, const QString &key, const QString &expiry)
{
    return !expiry.isEmpty() && line.contains(key) && line.contains(expiry);
}

// The quote lines' prefix of a kind: the pages list the weekly series under "AEX" too.
QString kindKey(QChar cp)
{
    return QStringLiteral("AEX ") + cp + QLatin1Char(';');
}

} // namespace

QString SeriesName(int index)
{
    static const char *const names[] = {"AX1", "AX2", "AEX", "AX4", "AX5"};
    if (index < 0 || index >= int(std::size(names)))
        return QString();
    return QString::fromLatin1(names[index]);
}

QString GetExpDate(const QString &series, const QString &firstOfMonth)
{
    // The date order is fixed, whatever the locale's own short date form.
    const QDate first = QDate::fromString(firstOfMonth, kDateForm);
    if (!first.isValid())
        throw ConversionError(QStringLiteral("'%1' is geen geldige datum").arg(firstOfMonth));
    const QDate expiry = SeriesExpiry(series, first.year(), first.month());
    return expiry.isValid() ? expiry.toString(kDateForm) : QString();
}

QString ExpiryOfChoice(const QString &series, int monthIndex, const QString &yearText)
{
    return GetExpDate(series, QStringLiteral("01-") + IntToStrZ2(monthIndex + 1) + QLatin1Char('-')
                                  + yearText);
}

QString GetUitOef(const QString &quoteLine)
{
    const QChar semicolon = QLatin1Char(';');
    const QString rest = RightOf(semicolon, RightOf(semicolon, quoteLine));
    const qsizetype end = rest.indexOf(semicolon);
    return end < 0 ? QString() : rest.left(end);
}

QStringList StrikeChoices(const QuoteList &list, QChar cp, const QString &expiry)
{
    QStringList choices{kNoStrike};
    const QString key = kindKey(cp);
    for (const QString &line : list.lines()) {
        if (offersStrike(line, key, expiry))
            choices << GetUitOef(line);
    }
    return choices;
}

int DefaultStrikeIndex(int entryCount)
{
    const int index = entryCount / 2 + 2;
    return index < entryCount ? index : -1;
}

QString StrikeOfChoice(const QString &strikeText)
{
    return LeftOf(QLatin1Char(','), strikeText);
}

QString NoValidSeriesText()
{
    return QStringLiteral("Geen geldige serie.");
}

QString ComposePositionLine(const QString &series, const QString &kind, int monthIndex,
                            const QString &yearText, const QString &strikeText,
                            const QString &countText, const QuoteList &quotes, TDataRec &DataRec)
{
    const QString month = PositionMonthName(monthIndex + 1);
    const QString strike = StrikeOfChoice(strikeText);
    const QChar cp = kind.isEmpty() ? QChar() : kind.at(0);

    DataRec.ExpMonth = quint16(MonthNumber(month));
    DataRec.CP = cp;
    DataRec.UitOefen = StrToReal(strike);
    DataRec.ExpYear = quint16(StrToIntOrThrow(yearText));
    const QString expiry = ExpiryOfChoice(series, monthIndex, yearText);
    // The whole day, which can lie in the month before (a first Friday on 1 January); a series
    // without an expiry in the month is looked up under day 0, which no quote line has.
    const QDate expiryDay = QDate::fromString(expiry, kDateForm);
    DataRec.ExpDay = quint16(expiryDay.isValid() ? expiryDay.day() : 0);
    if (expiryDay.isValid()) {
        DataRec.ExpMonth = quint16(expiryDay.month());
        DataRec.ExpYear = quint16(expiryDay.year());
    }
    DataRec.Koers.clear();
    GetKoers(DataRec, quotes);

    // A new position has cost nothing yet: its transaction price is its last price, so its
    // difference is nil. (Its premium, count x 100 x price, is no difference: shown there it
    // read as a profit until the next download.) The count must still be a whole number.
    const double price = StrToReal(DataRec.Koers);
    const QString difference = DifferenceFor(StrToIntOrThrow(countText), price, price);

    const QString key = kindKey(cp);
    const bool anyStrike = std::any_of(quotes.lines().begin(), quotes.lines().end(),
                                       [&](const QString &line) {
                                           return offersStrike(line, key, expiry);
                                       });
    // A strike typed with a ";" or a line break would give a line of other fields.
    if (!anyStrike || BreaksPositionLine(strike))
        return NoValidSeriesText();

    return QStringList{series, kind, month, yearText, strike, DataRec.Koers, DataRec.Koers,
                       countText, difference, QStringLiteral("0")}
        .join(QLatin1String("; "));
}

bool IsAddableLine(const QString &resultText)
{
    if (resultText.isEmpty() || resultText == NoValidSeriesText())
        return false;
    // "Geen", or a strike typed without its decimal comma, composes a line without a strike: a
    // position of no series, whose price would be 0 at every download.
    const QStringList fields = SplitPositionLine(resultText);
    return fields.size() > field::Strike && !fields.at(field::Strike).trimmed().isEmpty();
}

QPoint CentredTopLeft(const QRect &outer, const QSize &inner)
{
    // Integer division in C++ cuts toward zero, also for a window wider than the one below.
    return QPoint(outer.left() + (outer.width() - inner.width()) / 2,
                  outer.top() + (outer.height() - inner.height()) / 2);
}
