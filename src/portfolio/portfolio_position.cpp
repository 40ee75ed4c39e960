#include "portfolio/portfolio_position.h"

#include <cmath>

#include "market/expiry_calendar.h"
#include "positions/position_line.h"
#include "positions/position_view.h"
#include "support/month_names.h"
#include "support/text_routines.h"

namespace {

// The series, kinds and months of a list of positions are a handful of texts repeated on every
// line: a text seen before is shared rather than made again, which spares a table of thousands
// of lines as many allocations. The texts kept are few and short; past the limit a text is made.
QString repeatedText(QStringView text)
{
    constexpr qsizetype kKept = 32;
    thread_local QList<QString> kept;
    for (const QString &known : std::as_const(kept)) {
        if (known == text)
            return known;
    }
    QString made = text.toString();
    if (kept.size() < kKept)
        kept.append(made);
    return made;
}

} // namespace

OptionKey MakeOptionKey(const QString &series, const QString &kind, const QString &month, int year,
                        double strike)
{
    // Strikes are compared as the history writes them, to the cent.
    return {series, kind, month, year, std::llround(strike * 100)};
}

std::optional<risk::Right> PortfolioPosition::right() const
{
    if (kind.startsWith(QLatin1Char('C')))
        return risk::Right::Call;
    if (kind.startsWith(QLatin1Char('P')))
        return risk::Right::Put;
    return std::nullopt;
}

QString ShownAdvice(const PortfolioPosition &position)
{
    if (ActionShown(position.difference, position.amount, position.action))
        return position.action;
    return QStringLiteral("Geen actie");
}

std::optional<PortfolioPosition> ReadPortfolioPosition(const QString &line, int index)
{
    PositionFieldViews fields = SplitPositionLineViews(line);
    CompleteNineFields(fields);
    const std::optional<PositionNumbers> numbers = ReadPositionNumbers(fields);
    const QStringView kind = UnBeginSpace(fields.value(field::Kind));
    if (!numbers || kind.isEmpty())
        return std::nullopt;

    PortfolioPosition p;
    p.line = index;
    p.series = repeatedText(fields[field::Series]);
    p.kind = repeatedText(kind);
    p.month = repeatedText(fields[field::Month]);
    p.year = numbers->year;
    p.amount = numbers->amount;
    p.held = numbers->flag == 1;
    p.expiry = SeriesExpiry(p.series, p.year, MonthNumber(p.month));
    p.strike = StrToReal(fields[field::Strike]);
    p.transactionPrice = StrToReal(fields[field::TransactionPrice]);
    p.lastPrice = StrToReal(fields[field::LastPrice]);
    p.difference = StrToReal(fields[field::Difference]);
    p.action = ChooseAction(fields[field::Difference], fields[field::Flag]);
    return p;
}
