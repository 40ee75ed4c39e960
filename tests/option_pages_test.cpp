#include <gtest/gtest.h>

#include "support/qt_print.h"

#include "market/option_pages.h"
#include "support/fixture_file.h"

#include <QElapsedTimer>

namespace {

QByteArray row(const char *expiry, const char *strike, const char *price)
{
    return QByteArray("<tr><td class=\"date\">") + expiry + "</td><td class=\"fBold price\">"
        + strike + "</td><td class=\"fBold price\">" + price + "</td></tr>\n";
}

QByteArray page(const QByteArray &rows)
{
    return "<table><tr><th>Expiratie</th><th>Uitoef. prijs</th><th>Laatst</th></tr>\n" + rows
        + "</table>";
}

} // namespace

TEST(ParseCalls, SamplePageGivesOneLinePerSeries)
{
    QuoteList list;
    list.add(QStringLiteral("AEX C; 01-01-2000; 1,00; 1,00"));
    EXPECT_EQ(ParseCalls(ReadFixture("calls_sample.html"), list), 6);
    const QStringList expected = {
        "AEX C; 15-03-2013; 380,00; 9,80",
        "AEX C; 19-04-2013; 360,00; 27,10",
        "AEX C; 19-04-2013; 380,00; 12,35",
        "AEX C; 19-04-2013; 400,00; ",
        "AEX C; 20-12-2013; 420,00; 3,05",
    };
    EXPECT_EQ(list.lines(), expected);
}

TEST(ParsePuts, AddsToTheCallsAndKeepsThemWhenThePageHasNoTable)
{
    QuoteList list;
    ParseCalls(ReadFixture("calls_sample.html"), list);
    EXPECT_EQ(ParsePuts(ReadFixture("puts_sample.html"), list), 6);
    EXPECT_EQ(list.count(), 10);
    EXPECT_TRUE(list.lines().contains("AEX P; 19-04-2013; 380,00; 4,60"));
    EXPECT_TRUE(list.lines().contains("AEX C; 19-04-2013; 380,00; 12,35"));

    QuoteList calls;
    ParseCalls(ReadFixture("calls_sample.html"), calls);
    const QStringList before = calls.lines();
    EXPECT_EQ(ParsePuts("<html><body>Opties tijdelijk niet beschikbaar - 19-04-13</body></html>",
                        calls), 0);
    EXPECT_EQ(ParsePuts(QByteArray(), calls), 0);
    EXPECT_EQ(calls.lines(), before);
}

TEST(ParseCalls, EmptiesTheListEvenWithoutRows)
{
    QuoteList list;
    list.add(QStringLiteral("AEX C; 19-04-2013; 380,00; 12,35"));
    EXPECT_EQ(ParseCalls(QByteArray(), list), 0);
    EXPECT_TRUE(list.isEmpty());
}

TEST(ParseCalls, RowCutting)
{
    struct Case { const char *name; QByteArray page; QStringList lines; int rows; };
    const Case cases[] = {
        {"two-digit year widened", page(row("15-03-13", "380,00", "9,80")),
         {"AEX C; 15-03-2013; 380,00; 9,80"}, 1},
        {"repeated row adds nothing", page(row("15-03-13", "380,00", "9,80") + row("15-03-13", "380,00", "9,80")),
         {"AEX C; 15-03-2013; 380,00; 9,80"}, 2},
        {"empty price cell", page(row("19-04-13", "400,00", "")), {"AEX C; 19-04-2013; 400,00; "}, 1},
        {"texts kept as written", page(row("19-04-13", " 1.380,5 ", "n.v.t.")),
         {"AEX C; 19-04-2013;  1.380,5 ; n.v.t."}, 1},
        {"no heading, no rows", row("19-04-13", "380,00", "9,80"), {}, 0},
        {"rows before the heading are not read",
         row("19-04-13", "360,00", "1,00") + page(row("19-04-13", "380,00", "2,00")),
         {"AEX C; 19-04-2013; 380,00; 2,00"}, 1},
        // A hyphen in other text is stepped over nine characters at a time: a class name long
        // enough lands the step on the expiry cell, a short one jumps past its first hyphen.
        {"long hyphenated class",
         page("<td class=\"date-cell\">19-04-13</td><td class=\"fBold price\">380,00</td>"
              "<td class=\"fBold price\">1,00</td>"),
         {"AEX C; 19-04-2013; 380,00; 1,00"}, 1},
        {"short hyphenated class",
         page("<td class=\"a-b\">19-04-13</td><td class=\"fBold price\">380,00</td>"
              "<td class=\"fBold price\">1,00</td>"),
         {}, 0},
        {"hyphen in the heading's own cell",
         "<th>Uitoef. prijs</th><th class=\"col-last\">Laatst - EUR</th>" + row("19-04-13", "380,00", "1,00"),
         {"AEX C; 19-04-2013; 380,00; 1,00"}, 1},
        {"expiry cell at the very start", "Uitoef. prijs19-04-13<td class=\"fBold price\">380,00<"
         "<td class=\"fBold price\">1,00<", {"AEX C; 19-04-2013; 380,00; 1,00"}, 1},
        {"a missing price cell stops, keeping earlier rows",
         page(row("19-04-13", "380,00", "1,00") + "<tr><td>19-04-13</td><td class=\"fBold price\">400,00</td></tr>"),
         {"AEX C; 19-04-2013; 380,00; 1,00"}, 1},
        {"page ends in a short hyphenated text", "Uitoef. prijs x-y", {}, 0},
        {"Windows-1252 bytes", page(row("19-04-13", "380,00", "\x80 1")),
         {QString::fromUtf8("AEX C; 19-04-2013; 380,00; \u20ac 1")}, 1},
    };
    for (const Case &c : cases) {
        QuoteList list;
        EXPECT_EQ(ParseCalls(c.page, list), c.rows) << c.name;
        EXPECT_EQ(list.lines(), c.lines) << c.name;
    }
}

TEST(ParseCalls, LargePagesAreCutInLinearTime)
{
    QByteArray rows;
    for (int i = 0; i < 4000; ++i) {
        const QByteArray day = QByteArray::number(10 + i % 18);
        const QByteArray strike = QByteArray::number(100 + i) + ",00";
        rows += "<tr class=\"row-odd\"><td class=\"date\">" + day + "-04-13</td><td class=\"fBold price\">"
            + strike + "</td><td class=\"fBold price\">" + QByteArray::number(i % 50) + ",25</td>"
            "<td class=\"vol\">12</td><td class=\"time-stamp\">17:35</td></tr>\n";
    }
    QElapsedTimer timer;
    timer.start();
    QuoteList list;
    EXPECT_EQ(ParseCalls(page(rows), list), 4000);
    EXPECT_EQ(list.count(), 4000);
    EXPECT_LT(timer.elapsed(), 2000);

    // Without any "<" after its cells every row looks to the end of the page for the end of
    // its texts; that look must not be repeated for every row.
    QByteArray bare = "Uitoef. prijs";
    for (int i = 0; i < 60000; ++i)
        bare += " 19-04-13 fBold price\">380,00 fBold price\">1,00";
    timer.restart();
    EXPECT_EQ(ParseCalls(bare, list), 60000);
    EXPECT_EQ(list.lines(), QStringList{"AEX C; 19-04-2013; ; "});
    EXPECT_LT(timer.elapsed(), 2000);
}
