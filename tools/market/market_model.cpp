#include "market_model.h"

#include "market/expiry_calendar.h"

#include <QHashFunctions>
#include <QMutexLocker>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr double kSecondsPerYear = 365.25 * 86400.0;

// Per step of the walk: the spread of one move, and the pull back towards the start level that
// keeps a site left running for days in the neighbourhood of a believable AEX level.
constexpr double kMoveSpread = 0.0008;
constexpr double kPullBack = 0.0002;
constexpr qint64 kCheckpointEvery = 1024;

double normalCdf(double x)
{
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

// Weekday counted from Sunday = 1 to Saturday = 7.
int sundayBasedWeekday(const QDate &day)
{
    return day.dayOfWeek() % 7 + 1;
}

} // namespace

int thirdFriday(int year, int month)
{
    const int firstWeekday = QDate(year, month, 1).dayOfWeek();
    const int firstFriday = 1 + (Qt::Friday - firstWeekday + 7) % 7;
    return firstFriday + 14;
}

QDate monthlyExpiry(int year, int month)
{
    return MonthlyExpiry(year, month);
}

QDate weekFriday(const QDate &day)
{
    return day.addDays(6 - sundayBasedWeekday(day));
}

QList<QDate> expiryDates(const QDate &today, int years)
{
    QList<QDate> dates;

    const QDate friday = weekFriday(today);
    for (int week = 0; week < 4; ++week)
        dates.append(LastOpenDayOnOrBefore(friday.addDays(7 * week)));

    // The current month's expiry counts until its plain third Friday has passed.
    QDate month(today.year(), today.month(), 1);
    if (today.day() > thirdFriday(today.year(), today.month()))
        month = month.addMonths(1);
    for (int i = 0; i < 12; ++i, month = month.addMonths(1))
        dates.append(monthlyExpiry(month.year(), month.month()));

    const QDate last = today.addYears(years);
    for (;; month = month.addMonths(1)) {
        if (month.month() % 3 != 0)
            continue;
        const QDate expiry = monthlyExpiry(month.year(), month.month());
        if (expiry > last)
            break;
        dates.append(expiry);
    }

    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates;
}

QString seriesName(const QDate &expiry)
{
    // An expiry moved back from a closed Friday is named after that Friday.
    const QDate friday = expiry.addDays((Qt::Friday - expiry.dayOfWeek() + 7) % 7);
    const int week = (friday.day() - 1) / 7 + 1;
    return week == 3 ? QStringLiteral("AEX") : QStringLiteral("AX%1").arg(week);
}

double optionValue(OptionKind kind, double index, double strike, double years,
                   const PricingParameters &p)
{
    if (years <= 0.0 || p.volatility <= 0.0) {
        const double intrinsic = kind == OptionKind::Call ? index - strike : strike - index;
        return std::max(intrinsic, 0.0);
    }
    const double spread = p.volatility * std::sqrt(years);
    const double d1 = (std::log(index / strike) + (p.rate + 0.5 * p.volatility * p.volatility) * years)
                      / spread;
    const double d2 = d1 - spread;
    const double discountedStrike = strike * std::exp(-p.rate * years);
    if (kind == OptionKind::Call)
        return index * normalCdf(d1) - discountedStrike * normalCdf(d2);
    return discountedStrike * normalCdf(-d2) - index * normalCdf(-d1);
}

double yearsToExpiry(const QDateTime &now, const QDate &expiry)
{
    // The index options close in Amsterdam, wherever the site runs.
    static const QTimeZone amsterdam = [] {
        const QTimeZone zone("Europe/Amsterdam");
        return zone.isValid() ? zone : QTimeZone::systemTimeZone();
    }();
    const QDateTime close(expiry, QTime(16, 0), amsterdam);
    return std::max(0.0, now.msecsTo(close) / 1000.0 / kSecondsPerYear);
}

IndexWalk::IndexWalk(quint64 seed, const QDateTime &origin, double startLevel, int stepSeconds)
    : m_seed(seed),
      m_startLevel(startLevel),
      m_stepSeconds(std::max(1, stepSeconds))
{
    m_originStep = stepOf(origin);
    m_checkpoints.append(0.0);
}

qint64 IndexWalk::stepOf(const QDateTime &moment) const
{
    const qint64 seconds = moment.toSecsSinceEpoch();
    const qint64 step = seconds / m_stepSeconds;
    return (seconds < 0 && seconds % m_stepSeconds != 0) ? step - 1 : step;
}

double IndexWalk::levelAt(const QDateTime &moment)
{
    return levelAtStep(stepOf(moment));
}

double IndexWalk::previousCloseAt(const QDateTime &moment)
{
    const QDateTime midnight(moment.toLocalTime().date(), QTime(0, 0));
    return levelAtStep(stepOf(midnight) - 1);
}

double IndexWalk::moveAt(qint64 move) const
{
    // Each move has its own generator, so a level never depends on which levels were asked for
    // before it.
    std::mt19937_64 generator(m_seed ^ (static_cast<quint64>(move) * 0x9E3779B97F4A7C15ULL));
    std::normal_distribution<double> normal(0.0, 1.0);
    return normal(generator);
}

double IndexWalk::levelAtStep(qint64 step)
{
    const qint64 moves = step - m_originStep;
    if (moves <= 0)
        return m_startLevel;

    QMutexLocker lock(&m_mutex);
    auto advance = [this](double x, qint64 from, qint64 to) {
        for (qint64 move = from + 1; move <= to; ++move)
            x = x * (1.0 - kPullBack) + kMoveSpread * moveAt(move);
        return x;
    };

    const qint64 checkpoint = moves / kCheckpointEvery;
    while (m_checkpoints.size() <= checkpoint) {
        const qint64 from = (m_checkpoints.size() - 1) * kCheckpointEvery;
        m_checkpoints.append(advance(m_checkpoints.last(), from, from + kCheckpointEvery));
    }

    qint64 from = checkpoint * kCheckpointEvery;
    double x = m_checkpoints.at(checkpoint);
    if (m_cachedMoves >= from && m_cachedMoves <= moves) {
        from = m_cachedMoves;
        x = m_cachedLog;
    }
    x = advance(x, from, moves);
    m_cachedMoves = moves;
    m_cachedLog = x;
    return m_startLevel * std::exp(x);
}

QList<OptionQuote> optionChain(OptionKind kind, double index, double anchor, const QDateTime &now,
                               quint64 seed, const PricingParameters &p)
{
    QList<OptionQuote> chain;
    const QDate today = now.toLocalTime().date();
    const QDate yearAhead = today.addYears(1);
    const double low = std::min(index, anchor) * 0.8;
    const double high = std::max(index, anchor) * 1.2;
    // Trading volume changes once an hour.
    const qint64 hour = now.toSecsSinceEpoch() / 3600;

    for (const QDate &expiry : expiryDates(today)) {
        const bool farAway = expiry > yearAhead;
        const double stepSize = farAway ? 20.0 : 10.0;
        const double years = yearsToExpiry(now, expiry);
        for (double strike = std::floor(low / stepSize) * stepSize; strike <= high;
             strike += stepSize) {
            OptionQuote q;
            q.expiry = expiry;
            q.series = seriesName(expiry);
            q.strike = strike;
            q.value = optionValue(kind, index, strike, years, p);

            const size_t series = qHashMulti(seed, expiry.toJulianDay(), qint64(strike),
                                             kind == OptionKind::Call);
            // Now and then a distant series has not traded yet and shows no last price.
            q.traded = !(farAway && series % 61 == 0);

            const double halfSpread = std::max(0.05, q.value * 0.02) / 2.0;
            q.bid = std::max(0.0, q.value - halfSpread);
            q.ask = q.value + halfSpread;

            const double moneyness = std::abs(std::log(strike / index));
            const double activity = std::exp(-8.0 * moneyness) * (years < 0.25 ? 1.0 : 0.25);
            q.volume = int((qHashMulti(series, hour) % 400) * activity);
            chain.append(q);
        }
    }
    return chain;
}
