#pragma once
// The demo market behind the quote site: an AEX level that wanders with the clock, the expiry
// calendar of the index options, and option values worked out from the level with the usual
// pricing formula, so that calls, puts, strikes and expiries stay consistent with each other.

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMutex>
#include <QString>

enum class OptionKind { Call, Put };

// Day of the month of the plain third Friday.
int thirdFriday(int year, int month);

// The monthly expiry as the quote pages list it: the third Friday, or the business day before
// it when the exchange is closed then (Good Friday).
QDate monthlyExpiry(int year, int month);

// The Friday of the calendar week of `day`, weeks counted from Sunday to Saturday; on a
// Saturday that is the day before.
QDate weekFriday(const QDate &day);

// Every expiry the pages offer on `today`, ascending and without doubles: the Friday of this
// week and the three after it (each on the business day before when the exchange is closed
// then), the next twelve monthly expiries (this month's while it has not passed), and then the
// March, June, September and December expiries up to `years` ahead.
QList<QDate> expiryDates(const QDate &today, int years = 5);

// Weekly options carry the series name of their Friday within the month (AX1, AX2, AX4, AX5);
// the third Friday is the monthly series AEX. An expiry moved back from a closed Friday keeps
// that Friday's name.
QString seriesName(const QDate &expiry);

struct PricingParameters
{
    double volatility = 0.18;
    double rate = 0.02;
};

// Black-Scholes value of a European option on the index; at or after expiry the intrinsic value.
double optionValue(OptionKind kind, double index, double strike, double years,
                   const PricingParameters &p = {});

// Years from `now` to the end of trading (16:00 in Amsterdam) on `expiry`; never negative.
double yearsToExpiry(const QDateTime &now, const QDate &expiry);

// A geometric random walk of the index level, one move per step of the clock. A level depends
// only on the seed, the start of the walk and the step the moment falls in, so every request
// within one step sees the same level. Safe to use from several threads.
class IndexWalk
{
public:
    IndexWalk(quint64 seed, const QDateTime &origin, double startLevel = 900.0,
              int stepSeconds = 5);

    double levelAt(const QDateTime &moment);
    // The level the index closed at the evening before (the start level on the first day).
    double previousCloseAt(const QDateTime &moment);

    double startLevel() const { return m_startLevel; }
    int stepSeconds() const { return m_stepSeconds; }
    qint64 stepOf(const QDateTime &moment) const;

private:
    double levelAtStep(qint64 step);
    double moveAt(qint64 move) const;

    quint64 m_seed;
    qint64 m_originStep;
    double m_startLevel;
    int m_stepSeconds;

    // Walk positions as log(level / start level), after a number of moves from the start:
    // one every kCheckpointEvery moves, and the one asked for last.
    QMutex m_mutex;
    QList<double> m_checkpoints;
    qint64 m_cachedMoves = 0;
    double m_cachedLog = 0.0;
};

struct OptionQuote
{
    QDate expiry;
    QString series;
    double strike = 0.0;
    double value = 0.0;   // model value, unrounded
    bool traded = true;   // false: the last price cell stays empty
    double bid = 0.0;
    double ask = 0.0;
    int volume = 0;
};

// The option chain of one kind, sorted by expiry and then strike. Strikes run from 80% of the
// lower to 120% of the higher of `index` and `anchor`, in steps of 10 points (20 for expiries
// more than a year away), so the series listed stay put while the index wanders.
QList<OptionQuote> optionChain(OptionKind kind, double index, double anchor, const QDateTime &now,
                               quint64 seed, const PricingParameters &p = {});
