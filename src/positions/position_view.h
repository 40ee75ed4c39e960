#pragma once
// What the detail panel shows for a position line, and how the panel's edits rewrite the line.
// The window only reads and writes its controls; the rules are here.

#include <QString>
#include <QStringList>
#include <QStringView>

// Fields 1 to 5 joined by single blanks, e.g. "AEX Put mrt 2013 380".
QString PositionTitle(const QStringList &fields);

// The difference per option: the money difference divided by the amount, "---" for no amount.
QString PerOptionText(double difference, int amount);

// The advised action from the sign of the money difference (its first character) and the
// position flag (compared as text).
QString ChooseAction(QStringView difference, QStringView flag);
inline QString ChooseAction(const QString &difference, const QString &flag)
{
    return ChooseAction(QStringView(difference), QStringView(flag));
}

// The action is shown only when the difference per option is above the threshold.
constexpr double kActionThreshold = 15.0;
bool ActionShown(double difference, int amount, const QString &action);

// The money difference amount x (transaction price - last price) x 100 as field text.
QString DifferenceFor(double amount, double transactionPrice, double lastPrice);

// The line with a new transaction price (blanks removed) and its difference recomputed. A price
// that holds a ";" or a line break is not stored: the line comes back as it was.
QString PutTransactieKoers(const QString &price, const QString &line);
// The line with a new amount and its difference recomputed.
QString WithAmount(const QString &line, int amount);
// The line with its position flag set or cleared.
QString WithFlag(const QString &line, bool set);

// A new written position line of a series offered by the last download: its price as both
// transaction price and last price, the amount, no difference yet, and written ("Positie:"
// ticked).
QString WrittenPositionLine(const QString &series, const QString &kind, const QString &month, int year,
                            const QString &strike, const QString &price, int amount);
