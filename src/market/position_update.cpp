#include "market/position_update.h"

#include "positions/position_line.h"
#include "positions/position_rules.h"
#include "positions/position_view.h"
#include "support/held_locale.h"
#include "support/month_names.h"
#include "support/text_routines.h"

#include <optional>
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

// Nothing for a line that cannot be read as a position.
std::optional<PositionRead> readPosition(const QString &line, TDataRec rec, const QDate &today)
{
    // The line is read through views and later written in one piece: a download rewrites
    // every position.
    PositionFieldViews fields = SplitPositionLineViews(line);
    if (fields.size() < field::Count)
        return std::nullopt;
    const QStringView kind = UnBeginSpace(fields[field::Kind]);
    int year = 0;
    if (kind.isEmpty() || !ParseDecimalInt(fields[field::Year], &year) || year < 1 || year > 9999)
        return std::nullopt;

    const QStringView TypeOfOption = fields[field::Series];
    rec.CP = kind.at(0);
    rec.ExpMonth = quint16(MonthNumber(fields[field::Month]));
    rec.ExpYear = quint16(year);
    rec.ExpDay = quint16(PositionExpiryDay(TypeOfOption, rec.ExpYear, rec.ExpMonth, today));
    rec.UitOefen = StrToReal(fields[field::Strike]);
    return PositionRead{std::move(fields), std::move(rec)};
}

// The line with the price found for its series.
QString withPrice(PositionFieldViews fields, double price)
{
    const QString lastPrice = RealToStr(price, 5, 2);
    const QString differenceText = DifferenceFor(StrToReal(fields[field::Amount]),
                                                 StrToReal(fields[field::TransactionPrice]), StrToReal(lastPrice));
    fields[field::LastPrice] = lastPrice;
    fields[field::Difference] = differenceText;
    return JoinPositionFieldViews(fields);
}

} // namespace

QString UpdatePositionLine(const QString &line, TDataRec rec, const QuoteIndex &quotes,
                           const QDate &today)
{
    std::optional<PositionRead> read = readPosition(line, rec, today);
    if (!read)
        return line;
    quotes.GetKoers(read->rec);
    return withPrice(read->fields, StrToReal(read->rec.Koers));
}

QStringList UpdatePositionLines(const QStringList &lines, const TDataRec &rec,
                                const QuoteList &koersList, const QDate &today)
{
    // Thousands of numbers are read and written below, with nothing in between that changes the
    // locale.
    const HeldLocale heldLocale;
    // All series are looked up together, which lets the index walk the list once.
    std::vector<std::optional<PositionRead>> reads;
    reads.reserve(size_t(lines.size()));
    QStringList keys;
    for (const QString &line : lines) {
        reads.push_back(readPosition(line, rec, today));
        if (reads.back())
            keys << QuoteKey(reads.back()->rec);
    }
    const std::vector<double> prices = QuoteIndex(koersList).pricesFor(keys);

    QStringList updated;
    updated.reserve(lines.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<PositionRead> &read = reads[size_t(i)];
        updated << (read ? withPrice(read->fields, prices[size_t(next++)]) : lines.at(i));
    }
    return updated;
}
