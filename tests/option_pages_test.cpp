#include <gtest/gtest.h>

#include "market/option_pages.h"
#include "support/files.h"
#include "support/qt_printers.h"

#include <QElapsedTimer>

#include <random>
#include <utility>

namespace {

QByteArray row(const char *expiry, const char *strike, const char *price, const char *dateClass = "date")
{
    return QByteArray("<tr><td class=\"") + dateClass + "\">" + expiry + "</td><td class=\"fBold price\">"
        + strike + "</td><td class=\"fBold price\">" + price + "</td></tr>\n";
}

QByteArray page(const QByteArray &rows)
{
    return "<table><tr><th>Expiratie</th><th class=\"col-strike\">Uitoef. prijs</th></tr>\n" + rows + "</table>";
}

} // namespace

TEST(OptionPages, SamplePagesGiveOneLinePerSeries)
{
    QuoteList list;
    list.add("AEX C; 01-01-2000; 1,00; 1,00");
    EXPECT_EQ(ParseCalls(ReadFixture("calls_sample.html"), list), 6);
    const QStringList calls = {
        "AEX C; 15-03-2013; 380,00; 9,80", "AEX C; 19-04-2013; 360,00; 27,10",
        "AEX C; 19-04-2013; 380,00; 12,35", "AEX C; 19-04-2013; 400,00; ",
        "AEX C; 20-12-2013; 420,00; 3,05",
    };
    EXPECT_EQ(list.lines(), calls);

    // A put page without its table adds nothing and keeps the calls.
    EXPECT_EQ(ParsePuts("<body>Tijdelijk niet beschikbaar - 19-04-13</body>", list), 0);
    EXPECT_EQ(list.lines(), calls);
    EXPECT_EQ(ParsePuts(ReadFixture("puts_sample.html"), list), 6);
    EXPECT_EQ(list.count(), 10);
    EXPECT_TRUE(list.lines().contains("AEX P; 19-04-2013; 380,00; 4,60"));

    EXPECT_EQ(ParseCalls(QByteArray(), list), 0);
    EXPECT_TRUE(list.isEmpty());
}

TEST(OptionPages, RowCutting)
{
    const QByteArray twoCells = "<td class=\"fBold price\">380,00</td><td class=\"fBold price\">1,00</td>";
    struct Case { const char *name; QByteArray page; QStringList lines; int rows; };
    const Case cases[] = {
        {"two-digit year widened", page(row("15-03-13", "380,00", "9,80")), {"AEX C; 15-03-2013; 380,00; 9,80"}, 1},
        {"repeated row adds nothing", page(row("15-03-13", "380,00", "9,80") + row("15-03-13", "380,00", "9,80")),
         {"AEX C; 15-03-2013; 380,00; 9,80"}, 2},
        {"texts as written", page(row("19-04-13", " 1.380,5 ", "")), {"AEX C; 19-04-2013;  1.380,5 ; "}, 1},
        {"rows before the heading are not read", row("19-04-13", "360,00", "1,00") + page(row("19-04-13", "380,00", "2,00")),
         {"AEX C; 19-04-2013; 380,00; 2,00"}, 1},
        // A hyphen in other text is stepped over nine characters at a time: a class name long
        // enough lands the step on the expiry cell, a short one jumps past its first hyphen.
        {"long hyphenated class", page(row("19-04-13", "380,00", "1,00", "date-cell")), {"AEX C; 19-04-2013; 380,00; 1,00"}, 1},
        {"short hyphenated class", page(row("19-04-13", "380,00", "1,00", "a-b")), {}, 0},
        {"expiry cell right behind the heading", "Uitoef. prijs19-04-13" + twoCells, {"AEX C; 19-04-2013; 380,00; 1,00"}, 1},
        {"a missing price cell stops, keeping earlier rows",
         page(row("19-04-13", "380,00", "1,00") + "<td>20-04-13</td><td class=\"fBold price\">400,00</td>"),
         {"AEX C; 19-04-2013; 380,00; 1,00"}, 1},
        // A row's cells end at the next row: a missing cell is not taken from the row below.
        {"a row without its price cell has no price",
         page("<tr><td>19-04-13</td><td class=\"fBold price\">380,00</td><td>-</td></tr>\n" + row("20-04-13", "400,00", "1,00")),
         {"AEX C; 19-04-2013; 380,00; ", "AEX C; 20-04-2013; 400,00; 1,00"}, 2},
        {"a row without cells is passed over",
         page("<tr><td>19-04-13</td><td>-</td></tr>\n" + row("20-04-13", "400,00", "1,00")),
         {"AEX C; 20-04-2013; 400,00; 1,00"}, 1},
        {"white space of any kind is a blank", page(row("19-04-13", "\n380,00\t", "\r\n12,35\xa0")),
         {"AEX C; 19-04-2013;  380,00 ;   12,35 "}, 1},
        {"Windows-1252 bytes", page(row("19-04-13", "380,00", "\x80 1")), {QString::fromUtf8("AEX C; 19-04-2013; 380,00; \u20ac 1")}, 1},
    };
    for (const Case &c : cases) {
        QuoteList list;
        EXPECT_EQ(ParseCalls(c.page, list), c.rows) << c.name;
        EXPECT_EQ(list.lines(), c.lines) << c.name;
    }
}

TEST(OptionPages, LargePagesAreCutInLinearTime)
{
    QByteArray rows;
    for (int i = 0; i < 4000; ++i)
        rows += row(QByteArray::number(10 + i % 18) + "-04-13", QByteArray::number(100 + i) + ",00", "1,25")
            + "<td class=\"time-stamp\">17:35</td>";
    const QByteArray table = page(rows);
    // Without any "<" behind its cells every row looks to the end of the page for the end of
    // its texts; that look must not be repeated for every row. Done for each of these 200,000
    // rows, it would read about a terabyte: minutes, where the whole page takes well under a
    // second even in the sanitizer build on a busy machine.
    QByteArray bare = "Uitoef. prijs";
    for (int i = 0; i < 200000; ++i)
        bare += " 19-04-13 fBold price\">380,00 fBold price\">1,00";

    QElapsedTimer timer;
    timer.start();
    QuoteList list;
    EXPECT_EQ(ParseCalls(table, list), 4000);
    EXPECT_EQ(list.count(), 4000);
    EXPECT_EQ(ParseCalls(bare, list), 200000);
    EXPECT_EQ(list.lines(), QStringList{"AEX C; 19-04-2013; ; "});
    EXPECT_LT(timer.elapsed(), 10000);

    // One "<" at the very end: no row's texts may run on to it, else the lines of a page of
    // a few megabytes would take many gigabytes.
    QByteArray tagAtTheEnd = "Uitoef. prijs";
    for (int i = 0; i < 500; ++i)
        tagAtTheEnd += " 19-04-13 fBold price\">" + QByteArray::number(300 + i) + " fBold price\">1,00";
    ASSERT_EQ(ParseCalls(tagAtTheEnd + "<", list), 500);
    // Only the last row's texts reach the tag.
    EXPECT_EQ(list.lines(), QStringList({"AEX C; 19-04-2013; ; ", "AEX C; 19-04-2013; 799 fBold price\">1,00; 1,00"}));
}

TEST(OptionPages, StrikesSharingEverLongerPrefixesAreSortedWithoutDeepNesting)
{
    // Strikes 1, 11, 111, ... share a prefix as long as the shorter one: a sort that nests once
    // per shared byte runs out of stack long before the last of these rows. The rows come in a
    // scrambled order, so the sort has all of them to place.
    constexpr int kRows = 3000;
    QByteArray rows;
    for (int i = 0; i < kRows; ++i) {
        const int length = 1 + (i * 1237) % kRows;
        rows += row("19-04-13", QByteArray(length, '1'), "1,00");
    }
    QElapsedTimer timer;
    timer.start();
    QuoteList list;
    ASSERT_EQ(ParseCalls(page(rows), list), kRows);
    EXPECT_LT(timer.elapsed(), 5000);
    ASSERT_EQ(list.count(), kRows);
    for (int i = 0; i < kRows; ++i) {
        if (list.at(i) != "AEX C; 19-04-2013; " + QString(i + 1, '1') + "; 1,00") {
            ADD_FAILURE() << "line " << i << " out of place";
            break;
        }
    }
}

TEST(OptionPages, ListKeptForTheNextDownloadReadsPagesAsANewListWould)
{
    // A download reads the pages into a list kept from the download before, which writes the new
    // lines into the texts of the lines it dropped. Rows longer and shorter than before, repeated
    // and out of order, must give what a new list gives, and lines taken from the list before
    // must keep their texts.
    std::mt19937 random(11);
    const auto pageOfRows = [&random](int rows) {
        QByteArray text;
        for (int i = 0; i < rows; ++i) {
            const QByteArray strike = QByteArray::number(300 + random() % 40) + (random() % 3 ? ",00" : ",5");
            const QByteArray price = QByteArray(int(random() % 12), '9') + "," + QByteArray::number(random() % 100);
            text += row(QByteArray::number(15 + random() % 7) + "-0" + QByteArray::number(1 + random() % 9) + "-13",
                        strike, price);
        }
        return page(text);
    };
    QuoteList shown;
    QuoteList next;
    QStringList taken;
    QStringList takenTexts;
    for (int round = 0; round < 5; ++round) {
        const QByteArray calls = pageOfRows(100 + round * 40);
        const QByteArray puts = pageOfRows(120 - round * 20);
        QuoteList fresh;
        ParseCalls(calls, fresh);
        ParsePuts(puts, fresh);

        ParseCalls(calls, next);
        ParsePuts(puts, next);
        std::swap(shown, next);
        next.clear();
        EXPECT_EQ(shown.lines(), fresh.lines()) << "round " << round;
        for (qsizetype i = 0; i < shown.count(); ++i)
            EXPECT_EQ(shown.key(i).toByteArray(), shown.order().key(shown.at(i))) << round << " " << i;

        EXPECT_EQ(taken, takenTexts) << "round " << round;
        taken = shown.lines();
        takenTexts.clear();
        for (const QString &line : taken)
            takenTexts << QString(line.constData(), line.size());  // a copy of its own
    }
}
