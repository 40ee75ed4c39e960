#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "entry/add_position.h"
#include "market/data_rec.h"
#include "support/conversion_error.h"
#include "support/default_locale.h"
#include "support/program_state.h"

namespace {

// Puts and a call of March 2013 (expiring the 15th), a put of April 2013 (the 19th), a call of
// March 2014 (the 21st), and weekly series: a put on the second Friday of March 2013 and a call
// on 31 December 2026, where the first Friday of January 2027, New Year's Day, moves.
QuoteList quotes()
{
    QuoteList list;
    for (const char *line : {"AEX P; 15-03-2013; 380,00; 12,34", "AEX P; 15-03-2013; 382,00; 3,00",
                             "AEX P; 15-03-2013; 382,50; 7,00", "AEX C; 15-03-2013; 380,00; 4,10",
                             "AEX P; 19-04-2013; 380,00; 16,20", "AEX C; 21-03-2014; 400,00; 5,55",
                             "AEX P; 08-03-2013; 375,00; 2,00", "AEX C; 31-12-2026; 900,00; 3,00"})
        list.add(line);
    return list;
}

QString conversionFailure(const std::function<void()> &action)
{
    try {
        action();
    } catch (const ConversionError &error) {
        return error.message();
    }
    return "no failure";
}

// Composing a line notes the series in the shared record; the base puts it back.
class AddPositionLine : public ProgramStateTest
{
};

} // namespace

TEST(AddPositionExpiry, EachSeriesOnItsOwnFridayAndUnreadableDates)
{
    const char *const cases[][3] = {
        {"AEX", "01-03-2014", "21-03-2014"}, {"AEX", "01-03-2013", "15-03-2013"},
        {"AEX", "01-02-2013", "15-02-2013"},  // a month that starts on a Friday
        {"AX2", "01-04-2013", "12-04-2013"},  // the series' own Friday, as its calendar has it
        {"AX1", "01-01-2027", "31-12-2026"},  // New Year's Day: into the year before
    };
    for (const auto &c : cases)
        EXPECT_EQ(GetExpDate(c[0], c[1]), c[2]) << c[0] << " " << c[1];
    EXPECT_EQ(ExpiryOfChoice("AEX", 0, "2013"), "18-01-2013");
    for (const char *text : {"01-00-2013", "01-13-2013", "01-03-", "morgen"}) {
        EXPECT_EQ(conversionFailure([&] { GetExpDate("AEX", text); }),
                  QString("'%1' is geen geldige datum").arg(text));
    }
}

TEST(AddPositionStrikes, ChoicesOfOneSeriesKindAndExpiryWithTheDefaultEntry)
{
    EXPECT_EQ(GetUitOef("AEX P; 15-03-2013; 380,00; 12,34"), " 380,00");
    EXPECT_EQ(GetUitOef("AEX P; 15-03-2013; 380,00"), "");
    const QuoteList list = quotes();
    EXPECT_EQ(StrikeChoices(list, 'P', "15-03-2013"), QStringList({"Geen", " 380,00", " 382,00", " 382,50"}));
    EXPECT_EQ(StrikeChoices(list, 'C', "15-03-2013"), QStringList({"Geen", " 380,00"}));
    EXPECT_EQ(StrikeChoices(list, 'P', "08-03-2013"), QStringList({"Geen", " 375,00"}));
    EXPECT_EQ(StrikeChoices(list, 'P', ""), QStringList{"Geen"}) << "a series without an expiry that month";
    EXPECT_EQ(StrikeChoices(list, 'C', "15-03-2014"), QStringList{"Geen"});

    const int defaults[][2] = {{1, -1}, {3, -1}, {4, -1}, {5, 4}, {7, 5}, {21, 12}};
    for (const auto &d : defaults)
        EXPECT_EQ(DefaultStrikeIndex(d[0]), d[1]) << d[0];
}

TEST_F(AddPositionLine, ComposedFromTheChoicesAndTheQuote)
{
    const struct {
        const char *series, *kind;
        int month;
        const char *year, *strike, *count, *line;
    } cases[] = {
        {"AEX", "Put", 2, "2013", " 380,00", "1", "AEX; Put; mrt; 2013;  380;  12,34;  12,34; 1; 0,00; 0"},
        // Decimals of a strike are dropped, also for the lookup.
        {"AEX", "Put", 2, "2013", " 382,50", "1", "AEX; Put; mrt; 2013;  382;  3,00;  3,00; 1; 0,00; 0"},
        {"AEX", "Call", 2, "2013", " 380,00", "2", "AEX; Call; mrt; 2013;  380;  4,10;  4,10; 2; 0,00; 0"},
        // Other months than the first one offered expire on their own day.
        {"AEX", "Put", 3, "2013", " 380,00", "1", "AEX; Put; apr; 2013;  380;  16,20;  16,20; 1; 0,00; 0"},
        {"AEX", "Call", 2, "2014", " 400,00", "1", "AEX; Call; mrt; 2014;  400;  5,55;  5,55; 1; 0,00; 0"},
        {"AEX", "Put", 2, "2013", "Geen", "1", "AEX; Put; mrt; 2013; ;  0.0;  0.0; 1; 0,00; 0"},
        {"AEX", "Put", 2, "2013", "395,00", "1", "AEX; Put; mrt; 2013; 395;  0.0;  0.0; 1; 0,00; 0"},
        // The count counts as typed: no cut to 16 bits.
        {"AEX", "Put", 2, "2013", " 380,00", "0", "AEX; Put; mrt; 2013;  380;  12,34;  12,34; 0; 0,00; 0"},
        {"AEX", "Put", 2, "2013", " 380,00", "-1", "AEX; Put; mrt; 2013;  380;  12,34;  12,34; -1; 0,00; 0"},
        {"AEX", "Put", 2, "2013", " 380,00", "70000", "AEX; Put; mrt; 2013;  380;  12,34;  12,34; 70000; 0,00; 0"},
        // Weekly series under their own Friday, also one moved into the month before.
        {"AX2", "Put", 2, "2013", " 375,00", "1", "AX2; Put; mrt; 2013;  375;  2,00;  2,00; 1; 0,00; 0"},
        {"AX1", "Call", 0, "2027", " 900,00", "1", "AX1; Call; jan; 2027;  900;  3,00;  3,00; 1; 0,00; 0"},
        {"AX5", "Put", 3, "2013", " 380,00", "1", "Geen geldige serie."},  // April 2013: four Fridays
        // No strike at all for the series and kind.
        {"AX1", "Put", 2, "2013", "Geen", "1", "Geen geldige serie."},
        {"AEX", "Call", 3, "2013", "Geen", "1", "Geen geldige serie."},
        // A typed strike must not bring a field separator or a line break into the line.
        {"AEX", "Put", 2, "2013", "380;5,00", "1", "Geen geldige serie."},
        {"AEX", "Put", 2, "2013", "380\n,00", "1", "Geen geldige serie."},
        {"AEX", "Put", 2, "2013", "\r380,00", "1", "Geen geldige serie."},
        {"AEX", "Put", 2, "2013", "380,00;5", "1", "AEX; Put; mrt; 2013; 380;  12,34;  12,34; 1; 0,00; 0"},
    };
    const QuoteList list = quotes();
    TDataRec record;
    for (const auto &c : cases) {
        EXPECT_EQ(ComposePositionLine(c.series, c.kind, c.month, c.year, c.strike, c.count, list, record),
                  c.line);
    }
    {
        // A locale whose month names the positions file cannot hold writes the Dutch one.
        const DefaultLocale russian(QLocale(QLocale::Russian, QLocale::Russia));
        EXPECT_EQ(ComposePositionLine("AEX", "Put", 2, "2013", " 380,00", "1", list, record),
                  "AEX; Put; mrt; 2013;  380;  12,34;  12,34; 1; 0,00; 0");
    }
    EXPECT_FALSE(IsAddableLine("Geen geldige serie."));
    EXPECT_FALSE(IsAddableLine(""));
    EXPECT_FALSE(IsAddableLine("AEX; Put; mrt; 2013; ;  0.0;  0.0; 1; 0,00; 0")) << "no strike chosen";
    EXPECT_TRUE(IsAddableLine("AEX; Put; mrt; 2013; 380;  12,34;  12,34; 1; 0,00; 0"));

    record = TDataRec();
    record.MonthFrom = 7;
    ComposePositionLine("AEX", "Put", 2, "2013", " 382,50", "1", list, record);
    EXPECT_EQ(record.CP, QChar('P'));
    EXPECT_EQ(record.ExpDay, 15);
    EXPECT_EQ(record.ExpMonth, 3);
    EXPECT_EQ(record.ExpYear, 2013);
    EXPECT_EQ(record.UitOefen, 382.0);
    EXPECT_EQ(record.Koers, " 3,00");
    EXPECT_EQ(record.MonthFrom, 7) << "the range offered is not the dialog's to change";
}

TEST_F(AddPositionLine, CountYearOrMonthThatCannotBeReadFails)
{
    const QuoteList list = quotes();
    TDataRec record;
    for (const char *count : {"abc", "", "1,5", "99999999999"}) {
        EXPECT_EQ(conversionFailure([&] {
                      ComposePositionLine("AEX", "Put", 2, "2013", " 380,00", count, list, record);
                  }),
                  QString("'%1' is geen geldige integerwaarde").arg(count));
    }
    EXPECT_EQ(conversionFailure([&] { ComposePositionLine("AEX", "Put", 2, "twee", "", "1", list, record); }),
              "'twee' is geen geldige integerwaarde");
    EXPECT_EQ(conversionFailure([&] { ComposePositionLine("AEX", "Put", -1, "2013", "", "1", list, record); }),
              "'01-00-2013' is geen geldige datum");
}

TEST(AddPositionGeometry, CentredWithHalvesCutTowardZero)
{
    EXPECT_EQ(CentredTopLeft(QRect(100, 100, 761, 331), QSize(560, 250)), QPoint(200, 140));
    // A dialog larger than the main window: -201 / 2 is -100, not -101.
    EXPECT_EQ(CentredTopLeft(QRect(0, 0, 100, 100), QSize(301, 301)), QPoint(-100, -100));
}
