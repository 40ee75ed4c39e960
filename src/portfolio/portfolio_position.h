#pragma once
// A position line read for the portfolio overview and its history: its fields as values, and
// the day on which it expires, under which the quote lookup finds it too.

#include <QDate>
#include <QString>

#include <optional>

#include "portfolio/risk.h"

// What tells one option from another: series, kind, expiry month and year, and strike.
struct OptionKey {
    QString series, kind, month;
    int year = 0;
    qint64 strikeCents = 0;
    bool operator==(const OptionKey &) const = default;
};
OptionKey MakeOptionKey(const QString &series, const QString &kind, const QString &month, int year,
                        double strike);

struct PortfolioPosition {
    int line = 0;  // index of the line in the position list
    // Fields 1 to 3 as they stand.
    QString series, kind, month;
    int year = 0;
    // The day on which the series expires and under which it is quoted; invalid when the series
    // does not expire in its month (an AX5 of a month with four Fridays, an unknown code).
    QDate expiry;
    double strike = 0;
    double transactionPrice = 0;
    double lastPrice = 0;
    int amount = 0;
    double difference = 0;
    // "Positie:" ticked: the option is written.
    bool held = false;
    // The action the detail panel chooses for the line, whether it shows it or not.
    QString action;

    // A call or a put by the first letter of the kind; none for another kind.
    std::optional<risk::Right> right() const;
    OptionKey key() const { return MakeOptionKey(series, kind, month, year, strike); }
};

// The advice as the detail panel shows it: the action when it shows one, else "Geen actie".
QString ShownAdvice(const PortfolioPosition &position);

// None for a line that the detail panel cannot show either (its year, amount or flag is no
// whole number, or it has fewer than nine fields) or whose kind is empty. A nine-field line
// reads as not held.
std::optional<PortfolioPosition> ReadPortfolioPosition(const QString &line, int index);
