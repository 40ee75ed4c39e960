#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QLocale>

#include "support/default_locale.h"
#include "support/held_locale.h"
#include "support/month_names.h"
#include "support/text_routines.h"

TEST(HeldLocale, EachHoldStartsFromTheLocaleAsItIsThen)
{
    // The routines have seen the Dutch locale; the German one set since must be seen by the
    // next hold, by one nested in it, and again once the holds have ended.
    EXPECT_EQ(RealToStr(1.5, 5, 2), "1,50");
    EXPECT_EQ(MonthNumber(u"mrt"), 3);
    const DefaultLocale german(QLocale(QLocale::German, QLocale::Switzerland));
    QString march;
    for (int round = 0; round < 2; ++round) {
        const HeldLocale held;
        const HeldLocale nested;
        EXPECT_EQ(RealToStr(1.5, 5, 2), "1.50") << round;
        march = ShortMonthName(3);
        EXPECT_EQ(MonthNumber(march), 3) << round;
    }
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    EXPECT_EQ(RealToStr(1.5, 5, 2), "1,50");
    EXPECT_EQ(MonthNumber(u"mrt"), 3);
    ASSERT_NE(march, "mrt");
    EXPECT_EQ(MonthNumber(march), 12) << "the German names were kept";
}
