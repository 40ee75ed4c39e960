#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTimeZone>

#include "book/positions_book.h"

// The index level that the figures rest on is the one of the last price download: the prices
// stand still until the next download, and so must the level they are set against.
TEST(PositionsBook, FiguresRestOnTheIndexOfTheLastPriceDownload)
{
    PositionsBook book(QStringLiteral("Pelgrandix"));
    const QTimeZone amsterdam("Europe/Amsterdam");
    const auto refresh = [&](const char *level, QTime time) {
        book.AEXQuote().sAEX = QString::fromLatin1(level);
        book.AEXQuote().moment = QDateTime(QDate(2026, 12, 9), time, amsterdam);
        book.showIndexQuote({IndexQuoteResult::Show, "AEX:", QString::fromLatin1(level)});
    };
    const QDateTime later(QDate(2026, 12, 9), QTime(16, 30), amsterdam);
    const auto shown = [&] { return InputsText(book.figureInputs(later)).section("    ", 0, 0); };

    book.pricesDownloaded();  // the first download, before any index quote
    EXPECT_EQ(book.pricingIndex().level, std::nullopt);
    refresh("898,48", QTime(16, 5));
    EXPECT_EQ(shown(), "AEX 898,48 om 16:05") << "the first quote after it";
    refresh("905,10", QTime(16, 6));
    EXPECT_EQ(shown(), "AEX 898,48 om 16:05") << "the refreshes between downloads leave it";
    book.pricesDownloaded();
    EXPECT_EQ(shown(), "AEX 905,10 om 16:06");
    EXPECT_EQ(InputsText(book.figureInputs(later.addDays(3))).section("    ", 0, 0), "AEX 905,10 om 16:06 op 09-12-2026");
}
