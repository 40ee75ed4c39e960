#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/data_rec.h"
#include "market/expiry_calendar.h"
#include "market/index_download.h"
#include "market/option_download.h"
#include "market/option_pages.h"
#include "market/page_fetch.h"
#include "market/position_update.h"
#include "portfolio/portfolio_model.h"
#include "support/month_names.h"
#include "support/program_state.h"
#include "support/running_market_site.h"
#include "support/scoped_env.h"
#include "support/temp_home.h"

namespace {

// What the demo site prices with.
constexpr double kSiteVolatility = 0.18;
constexpr double kSiteRatePercent = 2.0;

// A position line for every quoted series, monthly or weekly: named after the Friday that its
// day is, or was moved back from.
QStringList positionLinesFor(const QuoteList &quotes)
{
    QStringList lines;
    for (const QString &quote : quotes.lines()) {
        const QStringList parts = quote.split(QStringLiteral("; "));
        const QDate expiry = QDate::fromString(parts.at(1), QStringLiteral("dd-MM-yyyy"));
        const QDate friday = expiry.addDays((Qt::Friday - expiry.dayOfWeek() + 7) % 7);
        const int week = (friday.day() - 1) / 7 + 1;
        const QString series = week == 3 ? QStringLiteral("AEX") : QStringLiteral("AX%1").arg(week);
        if (SeriesExpiry(series, friday.year(), friday.month()) != expiry)
            continue;
        lines << QStringLiteral("%1; %2; %3; %4; %5; 0; 0; 1; 0; 0")
                     .arg(series, parts.at(0).endsWith('C') ? "Call" : "Put",
                          ShortMonthName(friday.month()), QString::number(friday.year()), parts.at(2));
    }
    return lines;
}

// The index fetch sets the receive time-out for good; the base puts it back.
class DemoSite : public ProgramStateTest
{
};

} // namespace

// The demo site prices its options with Black-Scholes: read through the program's own page
// readers, quote lookup and figures, its prices give back the volatility it priced with.
TEST_F(DemoSite, ImpliedVolatilityComesBackToTheSitesVolatility)
{
    TempHome home;  // the page fetch leaves a copy of each page in the current folder
    RunningMarketSite site;
    ASSERT_GT(site.port, 0);
    const ScopedEnv quoteHost("PELGRANDIX_QUOTE_HOST", site.host());
    const ScopedEnv indexHost("PELGRANDIX_INDEX_HOST", site.host());

    // The site prices with the index of the moment, which moves every five seconds: the index
    // quote is taken before and after the pages, until both fall within one move.
    QuoteList quotes;
    std::optional<double> level;
    QDateTime now;
    for (int attempt = 0; attempt < 5 && !level; ++attempt) {
        IndexQuote before, after;
        before.takePage(FetchIndexPage(IndexPageUrl()), QDateTime::currentDateTime());
        QByteArray page;
        ASSERT_TRUE(DownloadRightPage(CallPageUrl(), page));
        ASSERT_GT(ParseCalls(page, quotes), 300);
        ASSERT_TRUE(DownloadRightPage(PutPageUrl(), page));
        ASSERT_GT(ParsePuts(page, quotes), 300);
        now = QDateTime::currentDateTime();
        after.takePage(FetchIndexPage(IndexPageUrl()), now);
        if (!after.sAEX.isEmpty() && before.sAEX == after.sAEX)
            level = after.level();
    }
    ASSERT_TRUE(level);

    const QStringList lines = UpdatePositionLines(positionLinesFor(quotes), TDataRec(), quotes);
    const std::vector<PortfolioRow> rows = PortfolioRows({lines, level, kSiteRatePercent, 0.0, now});
    int checked = 0;
    for (const PortfolioRow &row : rows) {
        const PortfolioPosition &p = row.position;
        if (p.lastPrice < 1.0 || !p.right() || risk::YearsToExpiry(now, p.expiry) <= 0)
            continue;
        // A price nearly all intrinsic value says little about the volatility once it is
        // rounded to the cent: only options with a time value of 1,00 or more count.
        const risk::Option option{*p.right(), p.strike, risk::YearsToExpiry(now, p.expiry)};
        if (p.lastPrice - risk::LowerBound(option, {*level, kSiteRatePercent / 100, 0}) < 1.0)
            continue;
        ASSERT_TRUE(row.impliedVolatility) << lines.at(p.line).toStdString();
        EXPECT_NEAR(*row.impliedVolatility, kSiteVolatility, 0.005) << lines.at(p.line).toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 200);
}
