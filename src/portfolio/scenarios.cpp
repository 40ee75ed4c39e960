#include "portfolio/scenarios.h"

#include <QHash>

#include <algorithm>
#include <cmath>

#include "support/text_routines.h"

namespace {

struct Neighbour {
    double strike = 0;
    std::optional<double> volatility;  // known already (a row), or to be worked out from price
    double price = 0;
};

struct Borrowed {
    double strike;
    double volatility;
};

// The volatility of the strike nearest to the position's among the rows and the quote lines of
// its kind and expiry that have one; none when no such strike has.
std::optional<Borrowed> nearestVolatility(const PortfolioPosition &p, risk::Right right, double years,
                                          const risk::Market &market, const std::vector<PortfolioRow> &rows,
                                          const QStringList &quoteLines)
{
    std::vector<Neighbour> neighbours;
    for (const PortfolioRow &row : rows) {
        if (row.impliedVolatility && row.position.right() == right && row.position.expiry == p.expiry)
            neighbours.push_back({row.position.strike, row.impliedVolatility, 0});
    }
    // Quote lines read "AEX C; 19-04-2013; 380,00; 12,35", every series under "AEX".
    const QString start = QStringLiteral("AEX %1; %2; ")
                              .arg(QLatin1String(right == risk::Right::Call ? "C" : "P"),
                                   p.expiry.toString(QStringLiteral("dd-MM-yyyy")));
    for (const QString &line : quoteLines) {
        if (!line.startsWith(start))
            continue;
        const QList<QStringView> fields = QStringView(line).split(QLatin1Char(';'));
        if (fields.size() >= 4)
            neighbours.push_back({StrToReal(fields.at(2)), std::nullopt, StrToReal(fields.at(3))});
    }
    std::sort(neighbours.begin(), neighbours.end(), [&p](const Neighbour &a, const Neighbour &b) {
        const double da = std::fabs(a.strike - p.strike);
        const double db = std::fabs(b.strike - p.strike);
        return da != db ? da < db : a.strike < b.strike;
    });
    for (const Neighbour &n : neighbours) {
        const std::optional<double> volatility = n.volatility
            ? n.volatility
            : risk::ImpliedVolatility(risk::Option{right, n.strike, years}, market, n.price);
        if (volatility)
            return Borrowed{n.strike, *volatility};
    }
    return std::nullopt;
}

} // namespace

std::optional<ScenarioBook> MakeScenarioBook(const PortfolioInputs &inputs, const std::vector<PortfolioRow> &rows)
{
    if (!inputs.indexLevel)
        return std::nullopt;
    ScenarioBook book;
    book.market = {*inputs.indexLevel, inputs.ratePercent / 100, inputs.dividendYieldPercent / 100};
    book.now = inputs.now;
    for (const PortfolioRow &row : rows) {
        const PortfolioPosition &p = row.position;
        if (!p.held)
            continue;
        const std::optional<risk::Right> right = p.right();
        if (!right || !p.expiry.isValid()) {
            book.leftOut.push_back(p);
            continue;
        }
        ScenarioPosition position{p, *right, row.impliedVolatility, std::nullopt};
        const double years = risk::YearsToExpiry(book.now, p.expiry);
        if (!position.volatility && years > 0) {
            const std::optional<Borrowed> borrowed
                = nearestVolatility(p, *right, years, book.market, rows, inputs.quoteLines);
            if (!borrowed) {
                book.leftOut.push_back(p);
                continue;
            }
            position.volatility = borrowed->volatility;
            position.borrowedFrom = borrowed->strike;
        }
        book.positions.push_back(std::move(position));
    }
    return book;
}

std::vector<double> YearsLeftAt(const ScenarioBook &book, const QDateTime &moment)
{
    // Many positions share few expiries, and the moment of an expiry takes time to work out.
    QHash<qint64, double> byExpiry;
    std::vector<double> years;
    years.reserve(book.positions.size());
    for (const ScenarioPosition &s : book.positions) {
        const qint64 day = s.position.expiry.toJulianDay();
        auto found = byExpiry.find(day);
        if (found == byExpiry.end())
            found = byExpiry.insert(day, risk::YearsToExpiry(moment, s.position.expiry));
        years.push_back(*found);
    }
    return years;
}

std::vector<double> YearsLeftAtOwnExpiry(const ScenarioBook &book)
{
    return std::vector<double>(book.positions.size(), 0.0);
}

double ScenarioDifference(const ScenarioBook &book, const std::vector<double> &yearsLeft, double level,
                          double shiftPoints)
{
    const risk::Market market{level, book.market.rate, book.market.dividendYield};
    double difference = 0;
    for (size_t i = 0; i < book.positions.size() && i < yearsLeft.size(); ++i) {
        const ScenarioPosition &s = book.positions[i];
        // Without a volatility (expired by now) the price is the intrinsic value.
        const double volatility = s.volatility
            ? std::max(*s.volatility + shiftPoints / 100, kLowestScenarioVolatility) : 0.0;
        const double value = risk::Price(risk::Option{s.right, s.position.strike, yearsLeft[i]}, market, volatility);
        difference += s.position.amount * 100.0 * (s.position.transactionPrice - value);
    }
    return difference;
}

std::vector<ScenarioRow> ScenarioGrid(const ScenarioBook &book, double shiftPoints)
{
    const std::vector<double> now = YearsLeftAt(book, book.now);
    const std::vector<double> inOneWeek = YearsLeftAt(book, book.now.addDays(7));
    const std::vector<double> atExpiry = YearsLeftAtOwnExpiry(book);
    std::vector<ScenarioRow> grid;
    for (double move : kIndexMoves) {
        const double level = book.market.index * (1 + move);
        grid.push_back({move, level, ScenarioDifference(book, now, level, shiftPoints),
                        ScenarioDifference(book, inOneWeek, level, shiftPoints),
                        ScenarioDifference(book, atExpiry, level)});
    }
    return grid;
}

QString PositionTitleText(const PortfolioPosition &p)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(p.series, p.kind, p.month, QString::number(p.year), FigureText(p.strike, kMoneyDecimals));
}

QString ScenarioLeftOutText(const ScenarioBook &book)
{
    if (book.leftOut.empty())
        return QString();
    QStringList titles;
    for (const PortfolioPosition &p : book.leftOut) {
        const QString why = !p.right()              ? QStringLiteral("onbekende soort")
                            : !p.expiry.isValid() ? QStringLiteral("geen expiratie in die maand")
                                                  : QStringLiteral("geen volatiliteit");
        titles << QStringLiteral("%1 (%2)").arg(PositionTitleText(p), why);
    }
    return QStringLiteral("Niet meegeteld: ") + titles.join(QStringLiteral(", "));
}
