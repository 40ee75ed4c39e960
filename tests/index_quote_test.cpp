#include <gtest/gtest.h>

#include "support/qt_print.h"

#include "app/main_layout.h"
#include "market/index_quote.h"
#include "support/fixture_file.h"

namespace {

QByteArray indexPage(const char *date, const char *time, const char *level, const char *change,
                     const char *percent = "0,35%")
{
    return QByteArray("<html><head><title>Beurs mobiel</title></head><body><div>Koers;<span>")
        + date + "</span><span>" + time + "</span><a href=\"/\">HOME</a> <b>AEX</b><span>"
        + level + "</span><span>(" + change + ")</span><span>" + percent
        + "</span></div></body></html>";
}

const QDateTime kMondayEvening(QDate(2026, 12, 7), QTime(17, 40));

} // namespace

TEST(ParseHTML, KeepsOnlyTheTextOutsideTags)
{
    struct Case { QByteArray page, text; };
    const Case cases[] = {
        {"", ""}, {"plain", "plain"}, {"a<b>c", "ac"}, {"<p>x</p><br/>y", "xy"},
        {"a<b", "a"}, {"x>y", "xy"}, {"<<a>b>c", "bc"}, {"&amp;&nbsp;<i>1</i>", "&amp;&nbsp;1"},
        {"<a href=\"x>y\">t</a>", "y\"t"},
    };
    for (const Case &c : cases) {
        QByteArray page = c.page;
        ParseHTML(page);
        EXPECT_EQ(page, c.text) << c.page.constData();
    }
}

TEST(IndexQuote, SamplePageIsShown)
{
    IndexQuote quote;
    const IndexQuoteResult result = quote.takePage(ReadFixture("index_sample.html"), kMondayEvening);
    ASSERT_EQ(result.kind, IndexQuoteResult::Show);
    EXPECT_EQ(result.l21, "AEX:");
    EXPECT_EQ(result.l22, "912,34");
    EXPECT_EQ(result.l23, "3,21 (0,35%)");
    EXPECT_EQ(result.l24, "@ 07-12-2026 18:00");  // after the close
    EXPECT_EQ(result.l22Colour, IndexColour::Green);
    EXPECT_EQ(result.l23Colour, IndexColour::Green);  // against no previous level
    EXPECT_EQ(quote.sAEX_Tijd, "17:35:12");
    EXPECT_EQ(quote.sPrevAEX, "");
}

TEST(IndexQuote, MomentOfTheQuote)
{
    const QDateTime tuesdayMorning(QDate(2026, 12, 8), QTime(8, 20));
    const QDateTime mondayMorning(QDate(2026, 12, 7), QTime(8, 20));
    struct Case { const char *date, *time; QDateTime now; const char *moment; };
    const Case cases[] = {
        {"08-12-2026", "17:45:00", tuesdayMorning, "08-12-2026 18:00"},
        {"08-12-2026", "17:30:59", tuesdayMorning, "08-12-2026 17:30"},
        {"08-12-2026", "17:31", tuesdayMorning, "08-12-2026 18:00"},
        {"08-12-2026", "23:59:59", tuesdayMorning, "08-12-2026 18:00"},
        {"08-12-2026", "08:30:00", tuesdayMorning, "08-12-2026 08:30"},
        {"08-12-2026", "08:15:00", tuesdayMorning, "07-12-2026 18:00"},
        {"07-12-2026", "08:15:00", mondayMorning, "04-12-2026 18:00"},
        {"04-12-2026", "08:15:00", tuesdayMorning, "07-12-2026 18:00"},  // by the clock's date
        {"05-12-2026", "12:00:00", tuesdayMorning, "04-12-2026 12:00"},
        {"06-12-2026", "12:00", tuesdayMorning, "04-12-2026 12:00"},
        {" 8-12-2026 ", " 9:05 ", tuesdayMorning, "08-12-2026 09:05"},
        {"32-12-2026", "12:00:00", tuesdayMorning, nullptr},
        {"08-13-2026", "12:00:00", tuesdayMorning, nullptr},
        {"08-12-20", "12:00:00", tuesdayMorning, nullptr},
        {"08-12-2026", "25:00:00", tuesdayMorning, nullptr},
        {"08-12-2026", "12.00", tuesdayMorning, nullptr},
        {"08-12-2026", "", tuesdayMorning, nullptr},
    };
    for (const Case &c : cases) {
        const QDateTime moment = IndexQuote::quoteMoment(c.date, c.time, c.now);
        if (c.moment)
            EXPECT_EQ(moment.toString("dd-MM-yyyy hh:mm"), c.moment) << c.date << " " << c.time;
        else
            EXPECT_FALSE(moment.isValid()) << c.date << " " << c.time;
    }
}

TEST(IndexQuote, SameQuoteTimeChangesNothingButTheTexts)
{
    IndexQuote quote;
    ASSERT_EQ(quote.takePage(indexPage("07-12-26", "17:35:12", "912,34", "3,21"), kMondayEvening).kind,
              IndexQuoteResult::Show);
    const IndexQuoteResult same =
        quote.takePage(indexPage("07-12-26", "17:35:12", "915,00", "5,87"), kMondayEvening);
    EXPECT_EQ(same.kind, IndexQuoteResult::Unchanged);
    EXPECT_EQ(quote.sAEX, "915,00");
    EXPECT_EQ(quote.sPrevAEX, "912,34");
    EXPECT_EQ(quote.sDeltaAEX, "5,87");

    // The next quote compares with the level read by the unchanged call.
    const IndexQuoteResult next =
        quote.takePage(indexPage("07-12-26", "17:36:00", "915,00", "5,87"), kMondayEvening);
    ASSERT_EQ(next.kind, IndexQuoteResult::Show);
    EXPECT_EQ(next.l23Colour, IndexColour::Blue);
    EXPECT_EQ(next.l22Colour, IndexColour::Green);
}

TEST(IndexQuote, Colours)
{
    struct Case { const char *previous, *level, *change; IndexColour l22, l23; };
    const Case cases[] = {
        {"900,00", "910,00", "0", IndexColour::Blue, IndexColour::Green},
        {"900,00", "890,00", "-2,10", IndexColour::Red, IndexColour::Red},
        {"900,00", "900,00", "1,5", IndexColour::Green, IndexColour::Blue},
        {"900,00", "900.00", "n.v.t.", IndexColour::Blue, IndexColour::Blue},
    };
    for (const Case &c : cases) {
        IndexQuote quote;
        quote.takePage(indexPage("07-12-26", "10:00:00", c.previous, "1"), kMondayEvening);
        const IndexQuoteResult result =
            quote.takePage(indexPage("07-12-26", "10:00:20", c.level, c.change), kMondayEvening);
        ASSERT_EQ(result.kind, IndexQuoteResult::Show);
        EXPECT_EQ(result.l22Colour, c.l22) << c.level << " " << c.change;
        EXPECT_EQ(result.l23Colour, c.l23) << c.level << " " << c.change;
    }
    EXPECT_EQ(IndexColourRgb(IndexColour::Green).green, 128);
    EXPECT_EQ(IndexColourRgb(IndexColour::Red).red, 255);
    EXPECT_EQ(IndexColourRgb(IndexColour::Blue).blue, 255);
    EXPECT_EQ(IndexColourRgb(IndexColour::Blue).red + IndexColourRgb(IndexColour::Blue).green, 0);
}

TEST(IndexQuote, WindowOfHundredCharactersFromTheStart)
{
    // "HOME" within the first 20 characters: the window starts at the first character and
    // holds 100 of them, so a "%" at the 100th is read and one at the 101st is not.
    const QByteArray head = "t;07-12-2609:35:12HOME";
    const QByteArray tail = "AEX900,00(1,00)0,11%";
    for (int padding : {100 - head.size() - tail.size(), 101 - head.size() - tail.size()}) {
        IndexQuote quote;
        const QByteArray page = "<p>" + head + "</p>" + QByteArray(padding, ' ') + "<p>" + tail + "</p> rest%";
        const IndexQuoteResult result = quote.takePage(page, kMondayEvening);
        ASSERT_EQ(result.kind, IndexQuoteResult::Show);
        EXPECT_EQ(result.l22, "900,00");
        EXPECT_EQ(result.l23, head.size() + padding + tail.size() == 100 ? "1,00 (0,11%)" : "1,00 (%)");
        EXPECT_EQ(result.l24, "@ 07-12-2026 09:35");
    }
}

TEST(IndexQuote, PagesWithoutMarkersOrDate)
{
    IndexQuote quote;
    EXPECT_EQ(quote.takePage("<html><body>Onderhoud</body></html>", kMondayEvening).kind,
              IndexQuoteResult::Unchanged);
    EXPECT_EQ(quote.sAEX_Tijd, "");

    // No page at all: nothing is read, not even the previous level moves on.
    quote.sAEX = "900,00";
    EXPECT_EQ(quote.takePage(QByteArray(), kMondayEvening).kind, IndexQuoteResult::Unchanged);
    EXPECT_EQ(quote.sPrevAEX, "");

    // A time that cannot be read is reported once; the same text again is just unchanged.
    const QByteArray bad = indexPage("07-12-26", "25:61:00", "912,34", "3,21");
    EXPECT_EQ(quote.takePage(bad, kMondayEvening).kind, IndexQuoteResult::DateError);
    EXPECT_EQ(quote.Old_sAEX_Tijd, "");
    EXPECT_EQ(quote.sAEX_Tijd, "25:61:00");
    EXPECT_EQ(quote.takePage(bad, kMondayEvening).kind, IndexQuoteResult::Unchanged);
    EXPECT_EQ(quote.takePage(indexPage("31-02-26", "12:00:00", "912,34", "3,21"), kMondayEvening).kind,
              IndexQuoteResult::DateError);
}

TEST(IndexQuote, ProbeFailure)
{
    const IndexQuoteResult result = IndexQuote::probeFailed("127.0.0.1:8470");
    EXPECT_EQ(result.kind, IndexQuoteResult::Show);
    EXPECT_EQ(result.l21, "AEX:");
    EXPECT_EQ(result.l22, "127.0.0.1:8470 reageert niet");
    EXPECT_EQ(result.l23, "");
    EXPECT_EQ(result.l24, "");
    EXPECT_FALSE(result.l22Colour.has_value());
    EXPECT_FALSE(result.l23Colour.has_value());
}

TEST(PlaceIndexLabels, RightAlignedGroupWithSevenPixelGaps)
{
    const int widths[4] = {30, 50, 80, 120};
    const IndexLabelPlacement p = PlaceIndexLabels(800, widths, 8);
    EXPECT_EQ(p.l21, 800 - 280 - 21 - 8);
    EXPECT_EQ(p.l22, p.l21 + 30 + 7);
    EXPECT_EQ(p.l23, p.l22 + 50 + 7);
    EXPECT_EQ(p.l24, p.l23 + 80 + 7);
    EXPECT_EQ(p.l24 + 120, 800 - 8);  // the group ends at the right margin
    EXPECT_EQ(IndexLabelsLeft(100, 30, 50, 80, 120, 8), 100 - 280 - 21 - 8);
}
