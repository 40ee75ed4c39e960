#include "market/position_update.h"

#include "market/expiry_calendar.h"
#include "positions/position_line.h"
#include "positions/position_rules.h"
#include "positions/position_view.h"
#include "support/held_locale.h"
#include "support/month_names.h"
#include "support/text_routines.h"

#include <optional>
#include <vector>

namespace {

// A position line read for its update: its fields, and the series whose price it takes.
struct PositionRead {
    PositionFieldViews fields;
    TDataRec rec;
};

// Nothing for a line that cannot be read as a position.
std::optional<PositionRead> readPosition(const QString &line, TDataRec rec)
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
    const QDate expiry = SeriesExpiry(TypeOfOption, year, MonthNumber(fields[field::Month]));
    if (!expiry.isValid())
        return std::nullopt;
    rec.CP = kind.at(0);
    // The whole day, which can lie in the month before (a first Friday on 1 January).
    rec.ExpDay = quint16(expiry.day());
    rec.ExpMonth = quint16(expiry.month());
    rec.ExpYear = quint16(expiry.year());
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

QString UpdatePositionLine(const QString &line, TDataRec rec, const QuoteIndex &quotes)
{
    std::optional<PositionRead> read = readPosition(line, rec);
    if (!read)
        return line;
    quotes.GetKoers(read->rec);
    return withPrice(read->fields, StrToReal(read->rec.Koers));
}

QStringList UpdatePositionLines(const QStringList &lines, const TDataRec &rec,
                                const QuoteList &koersList)
{
    // Thousands of numbers are read and written below, with nothing in between that changes the
    // locale.
    const HeldLocale heldLocale;
    // All series are looked up together, which lets the index walk the list once.
    std::vector<std::optional<PositionRead>> reads;
    reads.reserve(size_t(lines.size()));
    QStringList keys;
    for (const QString &line : lines) {
        reads.push_back(readPosition(line, rec));
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
