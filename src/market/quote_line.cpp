#include "market/quote_line.h"

#include <QStringList>

#include "support/text_routines.h"

std::optional<QuoteLineFields> ReadQuoteLine(const QString &line)
{
    const QStringList fields = line.split(QStringLiteral("; "));
    if (fields.size() != 4 || fields[0].size() != 5 || !fields[0].startsWith(QLatin1String("AEX ")))
        return std::nullopt;
    QuoteLineFields read;
    read.kind = fields[0].at(4);
    read.expiry = QDate::fromString(fields[1], QStringLiteral("dd-MM-yyyy"));
    if ((read.kind != QLatin1Char('C') && read.kind != QLatin1Char('P')) || !read.expiry.isValid())
        return std::nullopt;
    read.strikeText = fields[2].trimmed();
    read.strike = StrToReal(read.strikeText);
    read.priceText = fields[3].trimmed();
    read.price = StrToReal(read.priceText);
    return read;
}
