#include "market/position_update.h"

#include "app/position_line.h"
#include "app/position_rules.h"
#include "support/month_names.h"
#include "support/text_routines.h"

#include <vector>

int PositionExpiryDay(QStringView series, int expiryYear, int expiryMonth, const QDate &today)
{
    // Weekly series are quoted under this week's Friday whatever their month; a day beyond the
    // month's end or before its start simply finds no quote.
    const int day = series == QLatin1String("AEX")
        ? ThirdFriday(expiryYear, expiryMonth)
        : today.day() + 6 - WeekdayNumber(today);
    return MarchExpiryDay(day, expiryMonth);
}

namespace {

// A position line read for its update: its fields, and the series whose price it takes.
struct PositionRead {
    PositionFieldViews fields;
    TDataRec rec;
};

// False for a line that cannot be read as a position.
bool readPosition(const QString &line, TDataRec rec, const QDate &today, PositionRead *read)
{
    // The line is read through views and later written in one piece: a download rewrites
    // every position.
    PositionFieldViews fields = SplitPositionLineViews(line);
    if (fields.size() < field::Count)
        return false;
    QStringView kind = fields[field::Kind];
    while (kind.startsWith(QLatin1Char(' ')))
        kind = kind.mid(1);
    int year = 0;
    if (kind.isEmpty() || !ParseDecimalInt(fields[field::Year], &year) || year < 1 || year > 9999)
        return false;

    const QStringView TypeOfOption = fields[field::Series];
    rec.CP = kind.at(0);
    rec.ExpMonth = quint16(MonthNumber(fields[field::Month]));
    rec.ExpYear = quint16(year);
    rec.ExpDay = quint16(PositionExpiryDay(TypeOfOption, rec.ExpYear, rec.ExpMonth, today));
    rec.UitOefen = StrToReal(fields[field::Strike]);
    *read = {std::move(fields), std::move(rec)};
    return true;
}

// The line with the price text found for its series.
QString withKoers(PositionFieldViews fields, const QString &koers)
{
    const QString lastPrice = RealToStr(StrToReal(koers), 5, 2);
    const double difference = StrToReal(fields[field::Amount])
        * (StrToReal(fields[field::TransactionPrice]) - StrToReal(lastPrice)) * 100;
    const QString differenceText = DifferenceToStr(difference);
    fields[field::LastPrice] = lastPrice;
    fields[field::Difference] = differenceText;
    return JoinPositionFieldViews(fields);
}

} // namespace

QString UpdatePositionLine(const QString &line, TDataRec rec, const QuoteIndex &quotes,
                           const QDate &today)
{
    PositionRead read;
    if (!readPosition(line, rec, today, &read))
        return line;
    quotes.GetKoers(read.rec);
    return withKoers(read.fields, read.rec.Koers);
}

QStringList UpdatePositionLines(const QStringList &lines, const TDataRec &rec,
                                const QuoteList &koersList, const QDate &today)
{
    // All series are looked up together, which lets the index walk the list once.
    std::vector<PositionRead> reads(size_t(lines.size()));
    std::vector<bool> readable(size_t(lines.size()));
    QStringList keys;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        readable[size_t(i)] = readPosition(lines.at(i), rec, today, &reads[size_t(i)]);
        if (readable[size_t(i)])
            keys << QuoteKey(reads[size_t(i)].rec);
    }
    const QStringList koers = QuoteIndex(koersList).koersFor(keys);

    QStringList updated;
    updated.reserve(lines.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < lines.size(); ++i)
        updated << (readable[size_t(i)] ? withKoers(reads[size_t(i)].fields, koers.at(next++)) : lines.at(i));
    return updated;
}
