#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "app/download_schedule.h"

TEST(DownloadSchedule, TimeOfDayAndLastDownload)
{
    struct Case { QTime now, last; bool download; };
    const Case cases[] = {
        {{12, 0}, {0, 0}, true},          // during the day every tick downloads
        {{12, 0}, {18, 45}, true},
        {{9, 0, 0}, {18, 40}, false},     // 09:00 itself is not after 09:00
        {{9, 0, 1}, {18, 40}, true},
        {{18, 10, 0}, {18, 0}, true},     // the day rule ends; last one before 18:39
        {{18, 10, 0}, {18, 39}, false},
        {{18, 45}, {18, 40}, false},      // closing prices are in
        {{18, 45}, {18, 38, 59}, true},
        {{3, 0}, {18, 40}, false},
        {{8, 59}, {18, 40}, false},
        {{8, 59}, {12, 0}, true},         // yesterday's last download was before 18:39
        {{23, 0}, {0, 0}, true},          // no download yet
    };
    for (const Case &c : cases)
        EXPECT_EQ(DownloadAllowed(c.now, c.last), c.download)
            << c.now.toString().toStdString() << " after " << c.last.toString().toStdString();
}
