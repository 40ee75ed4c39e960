// The index page on arbitrary bytes: markup removal, the cutting of level, change and quote time,
// and the moment shown, at a fixed "now". The same page read twice in a row must change nothing
// the second time, whatever it holds.

#include "fuzz_support.h"

#include "market/index_quote.h"

#include <QByteArray>
#include <QDateTime>

#include <cstdint>

namespace {

// A Tuesday morning after the opening.
const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 15, 30));

void checkMarkupRemoved(const QByteArray &page)
{
    QByteArray stripped = page;
    ParseHTML(stripped);
    FUZZ_CHECK(stripped.size() <= page.size(), QString::number(stripped.size()));
    FUZZ_CHECK(!stripped.contains('<') && !stripped.contains('>'), QString::fromLatin1(stripped));
    // Text outside any tag survives unchanged: a page without markup stays as it is.
    if (!page.contains('<') && !page.contains('>'))
        FUZZ_CHECK(stripped == page, QString::fromLatin1(stripped));
}

void checkShown(const IndexQuoteResult &result)
{
    FUZZ_CHECK(result.l21 == QLatin1String("AEX:"), result.l21);
    FUZZ_CHECK(result.l22Colour && result.l23Colour, result.l22);
    // "@ dd-mm-yyyy hh:mm", never on a weekend day and never later than the close.
    FUZZ_CHECK(result.l24.size() == 18 && result.l24.startsWith(QLatin1String("@ ")), result.l24);
    const QDateTime moment =
        QDateTime::fromString(result.l24.mid(2), QStringLiteral("dd-MM-yyyy hh:mm"));
    FUZZ_CHECK(moment.isValid(), result.l24);
    FUZZ_CHECK(moment.date().dayOfWeek() <= Qt::Friday, result.l24);
    FUZZ_CHECK(moment.time() <= QTime(18, 0) && moment.time() >= QTime(8, 30), result.l24);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    UseDutchLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray page(reinterpret_cast<const char *>(data), qsizetype(size));
    checkMarkupRemoved(page);

    IndexQuote quote;
    const IndexQuoteResult first = quote.takePage(page, kNow);
    if (page.isEmpty()) {
        FUZZ_CHECK(first.kind == IndexQuoteResult::Unchanged && quote.sAEX.isEmpty(), quote.sAEX);
        return 0;
    }
    if (first.kind == IndexQuoteResult::Show)
        checkShown(first);
    // The quote time is cut from the first "H" on, so it never holds one; the per cent text
    // always ends in "%".
    FUZZ_CHECK(!quote.sAEX_Tijd.contains(QLatin1Char('H')), quote.sAEX_Tijd);
    FUZZ_CHECK(quote.sProc.endsWith(QLatin1Char('%')), quote.sProc);

    const QString level = quote.sAEX;
    const IndexQuoteResult second = quote.takePage(page, kNow.addSecs(20));
    FUZZ_CHECK(second.kind == IndexQuoteResult::Unchanged, second.l24);
    FUZZ_CHECK(quote.sPrevAEX == level && quote.sAEX == level, quote.sAEX);
    return 0;
}
