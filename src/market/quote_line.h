#pragma once
// The fields of a quote line, "AEX C; 19-04-2013; 380,00; 12,35": the kind ('C' or 'P'), the day
// under which the series is quoted, the strike and the price, as texts and as numbers.

#include <QChar>
#include <QDate>
#include <QString>

#include <optional>

struct QuoteLineFields {
    QChar kind;
    QDate expiry;
    QString strikeText;
    double strike = 0;
    QString priceText;
    double price = 0;
};

// None for a line that is not of that form.
std::optional<QuoteLineFields> ReadQuoteLine(const QString &line);
