#include "market/index_quote.h"

#include "market/page_text.h"
#include "support/text_routines.h"

namespace {

constexpr int kWindowLength = 100;
constexpr int kWindowLead = 20;
constexpr int kCloseMinute = 17 * 60 + 30;
constexpr int kOpenMinute = 8 * 60 + 30;

QString stripBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QDate readDate(const QString &text)
{
    // The year format also takes a minus sign ("05-2--2026" reads as the year -2026); a date on
    // the page never has one.
    const QDate date = QDate::fromString(stripBlanks(text), QStringLiteral("d-M-yyyy"));
    return date.year() > 0 ? date : QDate();
}

QTime readTime(const QString &text)
{
    const QString time = stripBlanks(text);
    const QTime withSeconds = QTime::fromString(time, QStringLiteral("H:m:s"));
    return withSeconds.isValid() ? withSeconds : QTime::fromString(time, QStringLiteral("H:m"));
}

IndexColour colourOf(double value, double reference)
{
    if (value == reference)
        return IndexColour::Blue;
    return value > reference ? IndexColour::Green : IndexColour::Red;
}

} // namespace

void ParseHTML(QByteArray &page)
{
    bool copy = true;
    qsizetype out = 0;
    for (qsizetype in = 0; in < page.size(); ++in) {
        const char c = page.at(in);
        if (c == '<')
            copy = false;
        else if (c == '>')
            copy = true;
        else if (copy)
            page[out++] = c;
    }
    page.truncate(out);
}

Rgb IndexColourRgb(IndexColour colour)
{
    switch (colour) {
    case IndexColour::Green:
        return {0, 128, 0};
    case IndexColour::Red:
        return {255, 0, 0};
    case IndexColour::Blue:
        break;
    }
    return {0, 0, 255};
}

IndexQuoteResult IndexQuote::probeFailed(const QString &host)
{
    IndexQuoteResult result;
    result.kind = IndexQuoteResult::Show;
    result.l21 = QStringLiteral("AEX:");
    result.l22 = host + QLatin1String(" reageert niet");
    return result;
}

IndexQuoteResult IndexQuote::notReached(const QString &reason)
{
    IndexQuoteResult result;
    result.kind = IndexQuoteResult::Show;
    result.l21 = QStringLiteral("AEX:");
    result.l22 = reason;
    return result;
}

QDateTime IndexQuote::quoteMoment(const QString &dateText, const QString &timeText,
                                  const QDateTime &now)
{
    QDate date = readDate(dateText);
    const QTime time = readTime(timeText);
    if (!date.isValid() || !time.isValid())
        return QDateTime();

    int hour = time.hour();
    int minute = time.minute();
    if (hour * 60 + minute > kCloseMinute) {
        hour = 18;
        minute = 0;
    }
    if (hour * 60 + minute < kOpenMinute) {
        // A quote from before the opening is yesterday's close, whatever date it carries.
        date = now.date().addDays(-1);
        hour = 18;
        minute = 0;
    }
    while (date.dayOfWeek() >= Qt::Saturday)
        date = date.addDays(-1);
    return QDateTime(date, QTime(hour, minute, time.second(), time.msec()));
}

IndexQuoteResult IndexQuote::takePage(QByteArray page, const QDateTime &now)
{
    if (page.isEmpty())
        return {};

    sPrevAEX = sAEX;
    ParseHTML(page);
    const QString text = PageText(page);

    const qsizetype home = text.indexOf(QLatin1String("HOME"));
    const QString window = text.mid(home < kWindowLead ? 0 : home - kWindowLead, kWindowLength);
    QString rest = RightOf(QLatin1Char(';'), window);
    const QString dateText = rest.left(6) + QLatin1String("20") + rest.mid(6, 2);
    rest = rest.mid(8, kWindowLength);

    Old_sAEX_Tijd = sAEX_Tijd;
    sAEX_Tijd = LeftOf(QLatin1Char('H'), rest);

    const qsizetype aex = rest.indexOf(QLatin1String("AEX"));
    rest = rest.mid(aex < 0 ? 2 : aex + 3, kWindowLength);
    sAEX = LeftOf(QLatin1Char('('), rest);
    rest = RightOf(QLatin1Char('('), rest);
    sDeltaAEX = LeftOf(QLatin1Char(')'), rest);
    rest = RightOf(QLatin1Char(')'), rest);
    sProc = LeftOf(QLatin1Char('%'), rest) + QLatin1Char('%');

    IndexQuoteResult result;
    if (sAEX_Tijd == Old_sAEX_Tijd)
        return result;

    const QDateTime moment = quoteMoment(dateText, sAEX_Tijd, now);
    if (!moment.isValid()) {
        result.kind = IndexQuoteResult::DateError;
        return result;
    }

    this->moment = moment;
    const double level = StrToReal(sAEX);
    const double previous = StrToReal(sPrevAEX);
    const double change = StrToReal(sDeltaAEX);
    result.kind = IndexQuoteResult::Show;
    result.l22Colour = colourOf(change, 0);
    result.l23Colour = colourOf(level, previous);
    result.l21 = QStringLiteral("AEX:");
    // Texts of the page, shown in labels.
    result.l22 = ShownText(sAEX);
    result.l23 = ShownText(sDeltaAEX + QLatin1String(" (") + sProc + QLatin1Char(')'));
    result.l24 = QLatin1String("@ ") + moment.toString(QStringLiteral("dd-MM-yyyy hh:mm"));
    return result;
}

std::optional<double> IndexQuote::level() const
{
    const double level = StrToReal(sAEX);
    return level > 0 ? std::optional<double>(level) : std::nullopt;
}
