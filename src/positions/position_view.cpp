#include "positions/position_view.h"

#include <cmath>

#include "positions/position_line.h"
#include "positions/position_rules.h"
#include "support/text_routines.h"

QString PositionTitle(const QStringList &fields)
{
    return fields.mid(0, field::Strike + 1).join(QLatin1Char(' '));
}

QString PerOptionText(double difference, int amount)
{
    if (amount == 0)
        return QStringLiteral("---");
    return DifferenceToStr(difference / amount);
}

QString ChooseAction(QStringView difference, QStringView flag)
{
    const bool negative = difference.startsWith(QLatin1Char('-'));
    const bool held = flag == QLatin1String("1");
    if (negative)
        return held ? QStringLiteral("Bijschrijven") : QStringLiteral("Schrijven");
    return held ? QStringLiteral("Terugkopen") : QStringLiteral("Geen actie");
}

bool ActionShown(double difference, int amount, const QString &action)
{
    if (amount == 0 || action == QLatin1String("Geen actie"))
        return false;
    return std::fabs(difference / amount) > kActionThreshold;
}

QString DifferenceFor(double amount, double transactionPrice, double lastPrice)
{
    return DifferenceToStr(amount * (transactionPrice - lastPrice) * 100);
}

QString PutTransactieKoers(const QString &price, const QString &line)
{
    if (BreaksPositionLine(price))
        return line;
    QStringList fields = SplitPositionLine(line);
    if (!IsUsablePosition(fields))
        return line;
    fields[field::Difference] = DifferenceFor(StrToReal(fields.at(field::Amount)), StrToReal(price),
                                              StrToReal(fields.at(field::LastPrice)));
    fields[field::TransactionPrice] = UnSpace(price);
    return JoinPositionFields(fields);
}

QString WithAmount(const QString &line, int amount)
{
    QStringList fields = SplitPositionLine(line);
    if (!IsUsablePosition(fields))
        return line;
    fields[field::Amount] = QString::number(amount);
    fields[field::Difference] = DifferenceFor(amount, StrToReal(fields.at(field::TransactionPrice)),
                                              StrToReal(fields.at(field::LastPrice)));
    return JoinPositionFields(fields);
}

QString WithFlag(const QString &line, bool set)
{
    return LeftOfLast(QLatin1Char(';'), line) + (set ? QStringLiteral("; 1") : QStringLiteral("; 0"));
}

QString WrittenPositionLine(const QString &series, const QString &kind, const QString &month, int year,
                            const QString &strike, const QString &price, int amount)
{
    return JoinPositionFields({series, kind, month, QString::number(year), strike, price, price,
                               QString::number(amount), DifferenceFor(amount, 0, 0), QStringLiteral("1")});
}
