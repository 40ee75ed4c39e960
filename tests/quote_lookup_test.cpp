#include <gtest/gtest.h>

#include "market/quote_lookup.h"
#include "support/default_locale.h"
#include "support/qt_printers.h"

#include <algorithm>
#include <numeric>
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
    return rec;
}

QuoteList listOf(const QStringList &lines)
{
    QuoteList list;
    for (const QString &line : lines)
        list.add(line);
    return list;
}

// The price found by the list walk, checked against the index's line for the same key.
QString lookedUp(TDataRec rec, const QuoteList &list)
{
    const QString key = QuoteKey(rec);
    const auto first = std::find_if(list.lines().begin(), list.lines().end(),
                                    [&key](const QString &line) { return line.contains(key); });
    EXPECT_EQ(QuoteIndex(list).firstLineContaining(key),
              first == list.lines().end() ? QString() : *first) << key.toStdString();
    TDataRec viaIndex = rec;
    QuoteIndex(list).GetKoers(viaIndex);
    GetKoers(rec, list);
    EXPECT_EQ(rec.Koers, viaIndex.Koers) << key.toStdString();
    return rec.Koers;
}

} // namespace

TEST(GetKoers, Lookups)
{
    EXPECT_EQ(QuoteKey(series('P', 5, 3, 2013, 380.125)), "AEX P; 05-03-2013; 380,13");
    const QuoteList list = listOf({
        "AEX C; 19-04-2013; 380,00; 12,35", "AEX P; 19-04-2013; 380,00; 4,60",
        "AEX C; 05-03-2013; 380,00; 9,80", "AEX C; 19-04-2013; 400,00; ",
        "AEX C; 19-04-2013; 420.00; 1,10", "aex c; 19-04-2013; 440,00; 2,20",
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
        {"strike that is only a prefix", series('C', 19, 4, 2013, 38), " 0.0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(lookedUp(c.rec, list), c.koers) << c.name;
    EXPECT_EQ(lookedUp(series('C', 19, 4, 2013, 380), QuoteList()), " 0.0");
}

TEST(GetKoers, StrikeIsLookedUpInThePagesNotationWhateverTheUsersLocale)
{
    const QuoteList list = listOf({"AEX C; 19-04-2013; 380,00; 12,35", "AEX C; 19-04-2013; 1080,50; 1,10"});
    for (const QLocale &locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::C),
                                  QLocale(QLocale::German, QLocale::Germany)}) {
        SCOPED_TRACE(locale.name().toStdString());
        const DefaultLocale users(locale);
        EXPECT_EQ(QuoteKey(series('P', 5, 3, 2013, 380.125)), "AEX P; 05-03-2013; 380,13");
        EXPECT_EQ(lookedUp(series('C', 19, 4, 2013, 380), list), " 12,35");
        EXPECT_EQ(lookedUp(series('C', 19, 4, 2013, 1080.5), list), " 1,10");
    }
}

TEST(GetKoers, FirstLineInListOrderWins)
{
    const TDataRec call = series('C', 19, 4, 2013, 380);
    EXPECT_EQ(lookedUp(call, listOf({"XAEX C; 19-04-2013; 380,00; 1,11", "AEX C; 19-04-2013; 380,00; 2,22"})),
              " 2,22");
    EXPECT_EQ(lookedUp(call, listOf({"AEX C; 19-04-2013; 380,00; 2,22", "AAEX C; 19-04-2013; 380,00; 3,33"})),
              " 3,33");
    // A longer strike text contains the key too, but sorts after the exact one (";" before a
    // digit), unlike in plain character order.
    EXPECT_EQ(lookedUp(call, listOf({"AEX C; 19-04-2013; 380,001; 4,44"})), " 4,44");
    EXPECT_EQ(lookedUp(call, listOf({"AEX C; 19-04-2013; 380,001; 4,44", "AEX C; 19-04-2013; 380,00; 12,35"})),
              " 12,35");
}

TEST(QuoteIndex, AnswersEachKeyInTheOrderAsked)
{
    const QuoteList list = listOf({"AEX C; 19-04-2013; 380,001; 4,44", "AEX P; 19-04-2013; 380,00; 4,60",
                                   "AEX C; 05-03-2013; 380,00; 9,80", "AEX C; 19-04-2013; 380,00; 12,35",
                                   "AEX C; 19-04-2013; 400,00; "});
    // The exact strike is found before the longer one that also holds the key; a key asked twice
    // is answered twice; a missing one gives " 0.0".
    EXPECT_EQ(QuoteIndex(list).koersFor({"AEX P; 19-04-2013; 380,00", "AEX C; 19-04-2013; 380,00",
                                         "AEX C; 20-03-2025; 900,00", "AEX C; 05-03-2013; 380,00",
                                         "AEX C; 19-04-2013; 400,00", "AEX C; 19-04-2013; 380,00"}),
              QStringList({" 4,60", " 12,35", " 0.0", " 9,80", " ", " 12,35"}));
    EXPECT_EQ(QuoteIndex(list).firstLineContaining("AEX C; 19-04-2013; 380,0"), "AEX C; 19-04-2013; 380,00; 12,35");
    EXPECT_TRUE(QuoteIndex(list).firstLineContaining("AEX C; 21").isNull());
}

TEST(QuoteIndex, AnswersAsTheListWalkOnGeneratedLists)
{
    // Quote lines mixed with near misses: longer strike texts, another decimal separator, lower
    // case, cut-off lines, keys inside a price or behind a lead text. Lead texts that sort
    // before the quote lines shadow them; ones that sort after do not.
    const QStringList cps = {"C", "P", "c"};
    const QStringList dates = {"05-03-2013", "19-04-2013", "20-03-2025"};
    const QStringList strikes = {"380,00", "380,001", "38,00", "360,00", "380.00", "380,13",
                                 "-5,00", "1,2346E05", " 380,00", ""};
    const QStringList prices = {"1,00", "12,35", "", "AEX C; 19-04-2013; 360,00", "x AEX P; 05-03-2013; 380,00"};
    // The third set of leads puts a character without a rank into some lines.
    for (const QStringList &leads : {QStringList{"", "", "", "", "AAEX ", "aex "},
                                     QStringList{"", "", "", "", "", "", "X", "ZAEX "},
                                     QStringList{"", "", "", "", "", "\u00e9AEX ", "\u00c9"}}) {
        std::mt19937 random(20130419);
        auto pick = [&random](const QStringList &from) { return from.at(qsizetype(random() % from.size())); };
        QuoteList list;
        for (int i = 0; i < 2000; ++i) {
            QString line = pick(leads) + "AEX " + pick(cps) + "; " + pick(dates) + "; " + pick(strikes)
                + "; " + pick(prices);
            list.add(random() % 50 ? line : line.left(qsizetype(random() % line.size())));
        }
        int found = 0;
        QStringList keys;
        QStringList expected;
        for (QChar cp : {QChar('C'), QChar('P'), QChar('c'), QChar(' '), QChar(0xe9)})
            for (int day : {5, 19, 20})
                for (int month : {3, 4})
                    for (double strike : {380.0, 38.0, 360.0, 380.125, -5.0, 123456.0}) {
                        const TDataRec rec = series(cp, day, month, day == 20 ? 2025 : 2013, strike);
                        keys << QuoteKey(rec);
                        expected << lookedUp(rec, list);
                        found += expected.last() != " 0.0";
                    }
        EXPECT_GT(found, 30);
        // Asked all at once, in an order unlike the list's, the answers are the same.
        std::vector<qsizetype> order(size_t(keys.size()));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        QStringList shuffledKeys;
        QStringList shuffledExpected;
        for (qsizetype i : order) {
            shuffledKeys << keys.at(i);
            shuffledExpected << expected.at(i);
        }
        EXPECT_EQ(QuoteIndex(list).koersFor(shuffledKeys), shuffledExpected);
    }
    EXPECT_EQ(QuoteIndex(listOf({"AEX C; 1", "AEX P; 2"})).firstLineContaining("P; "), "AEX P; 2");
}
