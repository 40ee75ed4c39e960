#include <gtest/gtest.h>

#include "support/qt_print.h"

#include "market/quote_lookup.h"

#include <algorithm>
#include <random>

namespace {

TDataRec series(QChar cp, int day, int month, int year, double strike)
{
    TDataRec rec;
    rec.CP = cp;
    rec.ExpDay = quint16(day);
    rec.ExpMonth = quint16(month);
    rec.ExpYear = quint16(year);
    rec.UitOefen = strike;
    rec.Koers = QStringLiteral("stale");
    return rec;
}

QuoteList listOf(const QStringList &lines)
{
    QuoteList list;
    for (const QString &line : lines)
        list.add(line);
    return list;
}

// The price that the plain lookup and the index give; fails the test when they differ.
QString lookedUp(TDataRec rec, const QuoteList &list)
{
    TDataRec viaIndex = rec;
    GetKoers(rec, list);
    QuoteIndex(list).GetKoers(viaIndex);
    EXPECT_EQ(rec.Koers, viaIndex.Koers) << QuoteKey(rec).toStdString();
    return rec.Koers;
}

} // namespace

TEST(QuoteKey, PadsDayAndMonthAndRoundsTheStrike)
{
    EXPECT_EQ(QuoteKey(series('C', 19, 4, 2013, 380)), "AEX C; 19-04-2013; 380,00");
    EXPECT_EQ(QuoteKey(series('P', 5, 3, 2013, 380.125)), "AEX P; 05-03-2013; 380,13");
    EXPECT_EQ(QuoteKey(series('C', 20, 12, 2025, 412.3449)), "AEX C; 20-12-2025; 412,34");
}

TEST(GetKoers, Lookups)
{
    const QuoteList list = listOf({
        "AEX C; 19-04-2013; 380,00; 12,35",
        "AEX P; 19-04-2013; 380,00; 4,60",
        "AEX C; 05-03-2013; 380,00; 9,80",
        "AEX C; 19-04-2013; 400,00; ",
        "AEX C; 19-04-2013; 420.00; 1,10",
        "aex c; 19-04-2013; 440,00; 2,20",
    });
    struct Case { const char *name; TDataRec rec; const char *koers; };
    const Case cases[] = {
        {"call", series('C', 19, 4, 2013, 380), " 12,35"},
        {"put", series('P', 19, 4, 2013, 380), " 4,60"},
        {"padded day and month", series('C', 5, 3, 2013, 380), " 9,80"},
        {"strike rounded to two decimals", series('C', 19, 4, 2013, 379.996), " 12,35"},
        {"empty price cell", series('C', 19, 4, 2013, 400), " "},
        {"other decimal separator", series('C', 19, 4, 2013, 420), " 0.0"},
        {"case matters", series('C', 19, 4, 2013, 440), " 0.0"},
        {"other expiry", series('C', 20, 4, 2013, 380), " 0.0"},
        {"strike that is only a prefix", series('C', 19, 4, 2013, 38), " 0.0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(lookedUp(c.rec, list), c.koers) << c.name;
    EXPECT_EQ(lookedUp(series('C', 19, 4, 2013, 380), QuoteList()), " 0.0");
}

TEST(GetKoers, FirstLineInListOrderWins)
{
    // Both lines contain the key; the one that sorts first gives the price.
    EXPECT_EQ(lookedUp(series('C', 19, 4, 2013, 380),
                       listOf({"XAEX C; 19-04-2013; 380,00; 1,11", "AEX C; 19-04-2013; 380,00; 2,22"})),
              " 2,22");
    EXPECT_EQ(lookedUp(series('C', 19, 4, 2013, 380),
                       listOf({"AEX C; 19-04-2013; 380,00; 2,22", "AAEX C; 19-04-2013; 380,00; 3,33"})),
              " 3,33");
    // A longer strike text on the page still contains the key, but sorts after the exact one
    // (a blank or ";" before a digit) though not in plain character order.
    EXPECT_EQ(lookedUp(series('C', 19, 4, 2013, 380),
                       listOf({"AEX C; 19-04-2013; 380,001; 4,44"})),
              " 4,44");
    EXPECT_EQ(lookedUp(series('C', 19, 4, 2013, 380),
                       listOf({"AEX C; 19-04-2013; 380,001; 4,44", "AEX C; 19-04-2013; 380,00; 12,35"})),
              " 12,35");
}

namespace {

// Quote lines as the pages give them, mixed with near misses: longer strike texts, another
// decimal separator, lower case, cut-off lines, and keys standing inside a price or behind a
// lead text.
QuoteList generatedList(const QStringList &leads, unsigned seed)
{
    const QStringList cps = {"C", "P", "c"};
    const QStringList dates = {"05-03-2013", "15-03-2013", "19-04-2013", "20-03-2025", "21-03-2025"};
    const QStringList strikes = {"380,00", "380,001", "38,00", "3800,00", "360,00", "380.00",
                                 "380,13", "0,00", "-5,00", "1,2346E05", " 380,00", ""};
    const QStringList prices = {"1,00", "12,35", "", "9,80", "AEX C; 19-04-2013; 360,00",
                                "x AEX P; 15-03-2013; 380,00"};
    std::mt19937 random(seed);
    auto pick = [&random](const QStringList &from) {
        return from.at(qsizetype(random() % from.size()));
    };
    QuoteList list;
    for (int i = 0; i < 3000; ++i) {
        QString line = pick(leads) + "AEX " + pick(cps) + "; " + pick(dates) + "; "
            + pick(strikes) + "; " + pick(prices);
        if (random() % 50 == 0)
            line = line.left(qsizetype(random() % line.size()));
        list.add(line);
    }
    return list;
}

} // namespace

TEST(QuoteIndex, AnswersAsTheListWalkOnGeneratedLists)
{
    // Lead texts that sort before the quote lines shadow them; ones that sort after do not.
    const QStringList leadsBefore = {"", "", "", "", "", "AAEX ", "aex "};
    const QStringList leadsAfter = {"", "", "", "", "", "", "", "", "X", "ZAEX "};
    for (const QStringList &leads : {leadsBefore, leadsAfter}) {
        const QuoteList list = generatedList(leads, 20130419);
        ASSERT_GT(list.count(), 500);
        const QuoteIndex index(list);
        int found = 0;
        for (QChar cp : {QChar('C'), QChar('P'), QChar('c'), QChar(' ')}) {
            for (int day : {5, 15, 19, 20, 21}) {
                for (int month : {3, 4}) {
                    for (int year : {2013, 2025}) {
                        for (double strike : {380.0, 38.0, 3800.0, 360.0, 380.125, 0.0, -5.0, 123456.0}) {
                            TDataRec plain = series(cp, day, month, year, strike);
                            TDataRec indexed = plain;
                            GetKoers(plain, list);
                            index.GetKoers(indexed);
                            const QString key = QuoteKey(plain);
                            ASSERT_EQ(plain.Koers, indexed.Koers) << key.toStdString();
                            // Many lines share a price, so the line itself is compared too.
                            const auto first = std::find_if(
                                list.lines().begin(), list.lines().end(),
                                [&key](const QString &line) { return line.contains(key); });
                            ASSERT_EQ(index.firstLineContaining(key),
                                      first == list.lines().end() ? QString() : *first)
                                << key.toStdString();
                            found += plain.Koers != " 0.0";
                        }
                    }
                }
            }
        }
        EXPECT_GT(found, 100);
    }
}

TEST(QuoteIndex, AnyTextAsKey)
{
    const QuoteList list = listOf({"AEX C; 19-04-2013; 380,00; 12,35", "AEX P; 19-04-2013; 380,00; 4,60"});
    const QuoteIndex index(list);
    EXPECT_EQ(index.firstLineContaining("P; 19"), "AEX P; 19-04-2013; 380,00; 4,60");
    EXPECT_EQ(index.firstLineContaining(""), list.at(0));
    EXPECT_TRUE(index.firstLineContaining("AEX X").isNull());
    EXPECT_TRUE(QuoteIndex().firstLineContaining("AEX C").isNull());
}
