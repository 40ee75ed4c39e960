#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QLocale>

#include "support/default_locale.h"
#include "support/held_locale.h"
#include "support/month_names.h"
#include "support/text_routines.h"

TEST(HeldLocale, EachHoldStartsFromTheLocaleAsItIsThen)
{
    // The routines have seen the Dutch locale; the English one set since must be seen by the
    // next hold, by one nested in it, and again once the holds have ended.
    EXPECT_EQ(RealToStr(1.5, 5, 2), "1,50");
    EXPECT_EQ(MonthNumber(u"mrt"), 3);
    const DefaultLocale english(QLocale::English);
    for (int round = 0; round < 2; ++round) {
        const HeldLocale held;
        const HeldLocale nested;
        EXPECT_EQ(RealToStr(1.5, 5, 2), "1.50") << round;
        EXPECT_EQ(MonthNumber(u"Mar"), 3) << round;
    }
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    EXPECT_EQ(RealToStr(1.5, 5, 2), "1,50");
    EXPECT_EQ(MonthNumber(u"mrt"), 3);
    EXPECT_EQ(MonthNumber(u"Mar"), 12) << "the English names were kept";
}
