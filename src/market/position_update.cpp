#include "market/position_update.h"

#include "app/position_line.h"
#include "app/position_rules.h"
#include "support/month_names.h"
#include "support/text_routines.h"

int PositionExpiryDay(const QString &series, int expiryYear, int expiryMonth, const QDate &today)
{
    // Weekly series are quoted under this week's Friday whatever their month; a day beyond the
    // month's end or before its start simply finds no quote.
    const int day = series == QLatin1String("AEX")
        ? ThirdFriday(expiryYear, expiryMonth)
        : today.day() + 6 - WeekdayNumber(today);
    return MarchExpiryDay(day, expiryMonth);
}

QString UpdatePositionLine(const QString &line, TDataRec rec, const QuoteIndex &quotes,
                           const QDate &today)
{
    QStringList fields = SplitPositionLine(line);
    if (fields.size() < field::Count)
        return line;
    const QString kind = UnBeginSpace(fields.at(field::Kind));
    int year = 0;
    if (kind.isEmpty() || !ParseDecimalInt(fields.at(field::Year), &year) || year < 1
        || year > 9999)
        return line;

    const QString TypeOfOption = fields.at(field::Series);
    rec.CP = kind.at(0);
    rec.ExpMonth = quint16(MonthNumber(fields.at(field::Month)));
    rec.ExpYear = quint16(year);
    rec.ExpDay = quint16(PositionExpiryDay(TypeOfOption, rec.ExpYear, rec.ExpMonth, today));
    rec.UitOefen = StrToReal(fields.at(field::Strike));
    quotes.GetKoers(rec);

    fields[field::LastPrice] = RealToStr(StrToReal(rec.Koers), 5, 2);
    const double difference = StrToReal(fields.at(field::Amount))
        * (StrToReal(fields.at(field::TransactionPrice)) - StrToReal(fields.at(field::LastPrice)))
        * 100;
    fields[field::Difference] = DifferenceToStr(difference);
    return JoinPositionFields(fields);
}

QStringList UpdatePositionLines(const QStringList &lines, const TDataRec &rec,
                                const QuoteList &koersList, const QDate &today)
{
    const QuoteIndex quotes(koersList);
    QStringList updated;
    updated.reserve(lines.size());
    for (const QString &line : lines)
        updated << UpdatePositionLine(line, rec, quotes, today);
    return updated;
}
