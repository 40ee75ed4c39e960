#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QCollator>
#include <QStringDecoder>

#include <algorithm>
#include <random>

#include "market/page_text.h"
#include "market/quote_list.h"
#include "market/quote_order.h"

// The quote list's order takes a shortcut past the locale's collator. These tests hold it to the
// collator's answers: on random texts, in locales that sort letters together, and on a list of
// quote lines built both ways.

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

QCollator collatorFor(const QLocale &locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// Texts from printable ASCII in both cases, with now and then a character outside it.
QString randomText(std::mt19937 &random)
{
    static const QString plain = QStringLiteral(" -;,.0123456789AaBbCcDdEeHhIiJjLlSsXxZz'\"()/&%_~");
    static const QString other = QStringLiteral("\u00e9\u00c9\u20ac\u00a0\u0001\u00df\u0133");
    QString text;
    const int length = int(random() % 9);
    for (int i = 0; i < length; ++i) {
        text += random() % 25 ? plain.at(qsizetype(random() % plain.size()))
                              : other.at(qsizetype(random() % other.size()));
    }
    return text;
}

// The list as the collator alone keeps it: each line inserted in order, one that compares
// equal to a listed one left out.
QStringList collatorList(const QStringList &lines)
{
    const QCollator collator = collatorFor(QLocale());
    QStringList sorted;
    for (const QString &line : lines) {
        const auto at = std::lower_bound(sorted.begin(), sorted.end(), line,
                                         [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
        if (at == sorted.end() || collator.compare(*at, line) != 0)
            sorted.insert(at, line);
    }
    return sorted;
}

} // namespace

TEST(QuoteOrder, ComparesAsTheCollatorInEveryLocale)
{
    // Dutch and English sort every letter on its own; Czech joins "ch", Danish "aa", Hungarian
    // "cs", Slovak "ch": there the shortcut must stand aside or agree anyway.
    for (const char *name : {"nl_NL", "en_US", "de_DE", "cs_CZ", "da_DK", "hu_HU", "sk_SK", "es_ES"}) {
        const QLocale locale(QString::fromLatin1(name));
        QuoteOrder order(locale);
        order.useRanks();
        const QCollator collator = collatorFor(locale);
        std::mt19937 random(7);
        int differences = 0;
        for (int i = 0; i < 40000; ++i) {
            const QString a = randomText(random);
            const QString b = i % 3 ? randomText(random) : a.toUpper();
            differences += sign(order.compare(a, b)) != sign(collator.compare(a, b));
        }
        EXPECT_EQ(differences, 0) << name;
        for (const char *pair : {"cha", "aab", "csa", "ij"})
            EXPECT_EQ(sign(order.compare(QString::fromLatin1(pair), QStringLiteral("ci"))),
                      sign(collator.compare(QString::fromLatin1(pair), QStringLiteral("ci"))))
                << name << " " << pair;
    }
    for (const auto &[name, ranks] : {std::pair{"nl_NL", true}, std::pair{"cs_CZ", false}}) {
        QuoteOrder order{QLocale(QString::fromLatin1(name))};
        EXPECT_FALSE(order.usesRanks()) << name << ": learnt only when asked";
        order.useRanks();
        EXPECT_EQ(order.usesRanks(), ranks) << name;
    }
}

TEST(QuoteList, KeepsTheSameLinesInTheSameOrderAsTheCollatorAlone)
{
    // Quote lines of many series, repeated, in other case (which compares equal, so the first
    // one given stays), with blanks, with a character outside ASCII, and other texts.
    std::mt19937 random(19);
    QStringList lines;
    for (int i = 0; i < 6000; ++i) {
        QString line = QStringLiteral("AEX %1; %2-%3-20%4; %5,%6; %7,%8")
                           .arg(random() % 2 ? 'C' : 'P')
                           .arg(15 + random() % 7).arg(1 + random() % 12, 2, 10, QLatin1Char('0'))
                           .arg(13 + random() % 3)
                           .arg(300 + random() % 60).arg(random() % 3 ? "00" : "50")
                           .arg(random() % 40).arg(random() % 100, 2, 10, QLatin1Char('0'));
        switch (random() % 12) {
        case 0: line = line.toLower(); break;
        case 1: line.replace(QLatin1String("; "), QLatin1String(";")); break;
        case 2: line += QStringLiteral(" \u20ac"); break;
        case 3: line = randomText(random); break;
        case 4: if (!lines.isEmpty()) line = lines.at(qsizetype(random() % lines.size())); break;
        case 5: if (!lines.isEmpty()) line = lines.at(qsizetype(random() % lines.size())).toUpper(); break;
        default: break;
        }
        lines << line;
    }
    // Once as they are, and once without the lines that have a character outside ASCII, so
    // that the pages are sorted both by the collator and by the keys alone.
    QuoteOrder order;
    order.useRanks();
    QStringList plainLines;
    for (const QString &line : lines) {
        if (!order.key(line).isNull())
            plainLines << line;
    }
    ASSERT_TRUE(order.usesRanks());
    for (const QStringList &given : {lines, plainLines}) {
        const QStringList expected = collatorList(given);

        QuoteList oneByOne;
        for (const QString &line : given)
            oneByOne.add(line);
        EXPECT_EQ(oneByOne.lines(), expected);

        // In pages: the first half, then the rest in two parts.
        QuoteList inPages;
        const qsizetype half = given.size() / 2;
        inPages.addAll(given.mid(0, half));
        inPages.addAll(given.mid(half, 1000));
        inPages.addAll(given.mid(half + 1000));
        EXPECT_EQ(inPages.lines(), expected);
        // Every line keeps the key of its own text.
        for (qsizetype i = 0; i < inPages.count(); ++i)
            EXPECT_EQ(inPages.key(i).toByteArray(), inPages.order().key(inPages.at(i))) << i;
        EXPECT_LT(expected.size(), given.size() - 500);  // many lines were left out as equal ones
    }
}

TEST(PageText, DecodesEveryByteAsWindows1252)
{
    QByteArray bytes;
    std::mt19937 random(3);
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    for (int i = 0; i < 4096; ++i)
        bytes += char(random() & 0xff);
    EXPECT_EQ(PageText(bytes), QStringDecoder("Windows-1252").decode(bytes));
    QString text = QStringLiteral("AEX C; ");
    AppendPageText(text, QByteArrayView("19-04-\x80"));
    EXPECT_EQ(text, QStringLiteral("AEX C; 19-04-\u20ac"));
    EXPECT_TRUE(PageText(QByteArrayView()).isEmpty());
}
