#include <gtest/gtest.h>

#include "app/main_layout.h"
#include "market/index_quote.h"
#include "support/files.h"
#include "support/qt_printers.h"

namespace {

QByteArray indexPage(const char *time, const char *level, const char *change, const char *date = "07-12-26")
{
    return QByteArray("<html><head><title>Beurs mobiel</title></head><body><div>Koers;<span>") + date
        + "</span><span>" + time + "</span><a href=\"/\">HOME</a> <b>AEX</b><span>" + level
        + "</span><span>(" + change + ")</span><span>0,35%</span></div></body></html>";
}

const QDateTime kMondayEvening(QDate(2026, 12, 7), QTime(17, 40));

} // namespace

TEST(IndexQuote, ParseHTMLKeepsOnlyTheTextOutsideTags)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"", ""}, {"a<b>c", "ac"}, {"a<b", "a"}, {"x>y", "xy"}, {"<<a>b>c", "bc"},
        {"&amp;<i>1</i>", "&amp;1"}, {"<a href=\"x>y\">t</a>", "y\"t"},
    };
    for (auto [page, text] : cases) {
        ParseHTML(page);
        EXPECT_EQ(page, text);
    }
}

TEST(IndexQuote, SamplePageIsShown)
{
    IndexQuote quote;
    const IndexQuoteResult result = quote.takePage(ReadFixture("index_sample.html"), kMondayEvening);
    ASSERT_EQ(result.kind, IndexQuoteResult::Show);
    EXPECT_EQ(QStringList({result.l21, result.l22, result.l23, result.l24}),
              QStringList({"AEX:", "912,34", "3,21 (0,35%)", "@ 07-12-2026 18:00"}));  // after the close
    EXPECT_EQ(result.l22Colour, IndexColour::Green);
    EXPECT_EQ(result.l23Colour, IndexColour::Green);  // against no previous level
    EXPECT_EQ(quote.sAEX_Tijd, "17:35:12");
}

TEST(IndexQuote, MomentOfTheQuote)
{
    const QDateTime tuesdayMorning(QDate(2026, 12, 8), QTime(8, 20));
    const QDateTime mondayMorning(QDate(2026, 12, 7), QTime(8, 20));
    struct Case { const char *date, *time; QDateTime now; const char *moment; };
    const Case cases[] = {
        {"08-12-2026", "17:45:00", tuesdayMorning, "08-12-2026 18:00"},
        {"08-12-2026", "17:30:59", tuesdayMorning, "08-12-2026 17:30"},
        {"08-12-2026", "08:30:00", tuesdayMorning, "08-12-2026 08:30"},
        {"08-12-2026", "08:15:00", tuesdayMorning, "07-12-2026 18:00"},
        {"07-12-2026", "08:15:00", mondayMorning, "04-12-2026 18:00"},
        {"04-12-2026", "08:15:00", tuesdayMorning, "07-12-2026 18:00"},  // by the clock's date
        {"05-12-2026", "12:00:00", tuesdayMorning, "04-12-2026 12:00"},
        {"06-12-2026", "12:00", tuesdayMorning, "04-12-2026 12:00"},
        {" 8-12-2026 ", " 9:05 ", tuesdayMorning, "08-12-2026 09:05"},
        {"32-12-2026", "12:00:00", tuesdayMorning, nullptr}, {"08-12-20", "12:00", tuesdayMorning, nullptr},
        {"08-12-2026", "25:00:00", tuesdayMorning, nullptr}, {"08-12-2026", "12.00", tuesdayMorning, nullptr},
        {"05-2--2026", "12:00", tuesdayMorning, nullptr},  // the year is no negative number
    };
    for (const Case &c : cases) {
        const QDateTime moment = IndexQuote::quoteMoment(c.date, c.time, c.now);
        EXPECT_EQ(moment.isValid() ? moment.toString("dd-MM-yyyy hh:mm") : QString(), c.moment)
            << c.date << " " << c.time;
    }
}

TEST(IndexQuote, SameQuoteTimeChangesNothingButTheTexts)
{
    IndexQuote quote;
    ASSERT_EQ(quote.takePage(indexPage("17:35:12", "912,34", "3,21"), kMondayEvening).kind, IndexQuoteResult::Show);
    EXPECT_EQ(quote.takePage(indexPage("17:35:12", "915,00", "0"), kMondayEvening).kind, IndexQuoteResult::Unchanged);
    EXPECT_EQ(quote.sPrevAEX, "912,34");
    // The next quote compares with the level read by the unchanged call.
    const IndexQuoteResult next = quote.takePage(indexPage("17:36:00", "915,00", "0"), kMondayEvening);
    ASSERT_EQ(next.kind, IndexQuoteResult::Show);
    EXPECT_EQ(next.l22Colour, IndexColour::Blue);  // no change
    EXPECT_EQ(next.l23Colour, IndexColour::Blue);  // same level
    const IndexQuoteResult lower = quote.takePage(indexPage("17:37:00", "914,00", "-1,00"), kMondayEvening);
    EXPECT_EQ(lower.l22Colour, IndexColour::Red);
    EXPECT_EQ(lower.l23Colour, IndexColour::Red);
    EXPECT_EQ(IndexColourRgb(IndexColour::Green).green, 128);
}

TEST(IndexQuote, WindowOfHundredCharactersFromTheStart)
{
    // "HOME" within the first 20 characters: the window starts at the first character and
    // holds 100 of them, so a "%" as the 100th is read and one as the 101st is not.
    const QByteArray head = "t;07-12-2609:35:12HOME";
    const QByteArray tail = "AEX900,00(1,00)0,11%";
    for (qsizetype length : {100, 101}) {
        IndexQuote quote;
        const QByteArray padding(length - head.size() - tail.size(), ' ');
        const IndexQuoteResult result = quote.takePage("<p>" + head + "</p>" + padding + tail + " rest%", kMondayEvening);
        EXPECT_EQ(result.l23, length == 100 ? "1,00 (0,11%)" : "1,00 (%)");
        EXPECT_EQ(result.l24, "@ 07-12-2026 09:35");
    }
}

TEST(IndexQuote, PagesWithoutMarkersOrDate)
{
    IndexQuote quote;
    EXPECT_EQ(quote.takePage("<body>Onderhoud</body>", kMondayEvening).kind, IndexQuoteResult::Unchanged);
    quote.sAEX = "900,00";
    EXPECT_EQ(quote.takePage(QByteArray(), kMondayEvening).kind, IndexQuoteResult::Unchanged);
    EXPECT_EQ(quote.sPrevAEX, "");  // no page: nothing read
    // A time that cannot be read is reported once; the same text again is just unchanged.
    EXPECT_EQ(quote.takePage(indexPage("25:61:00", "912,34", "3,21"), kMondayEvening).kind, IndexQuoteResult::DateError);
    EXPECT_EQ(quote.takePage(indexPage("25:61:00", "912,34", "3,21"), kMondayEvening).kind, IndexQuoteResult::Unchanged);
    EXPECT_EQ(quote.takePage(indexPage("12:00:00", "9", "3", "31-02-26"), kMondayEvening).kind, IndexQuoteResult::DateError);
}

TEST(IndexQuote, ProbeFailureAndLayout)
{
    const IndexQuoteResult failed = IndexQuote::probeFailed("127.0.0.1:8470");
    EXPECT_EQ(QStringList({failed.l21, failed.l22, failed.l23, failed.l24}),
              QStringList({"AEX:", "127.0.0.1:8470 reageert niet", "", ""}));
    EXPECT_FALSE(failed.l22Colour || failed.l23Colour);

    const int widths[4] = {30, 50, 80, 120};
    const IndexLabelPlacement p = PlaceIndexLabels(800, widths, 8);
    EXPECT_EQ(p.l21, 800 - 280 - 21 - 8);
    EXPECT_EQ(p.l22, p.l21 + 30 + 7);
    EXPECT_EQ(p.l23, p.l22 + 50 + 7);
    EXPECT_EQ(p.l24 + 120, 800 - 8);  // the group ends at the right margin
}
