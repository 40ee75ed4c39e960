#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "portfolio/advice_alerts.h"

namespace {

// A held position (flag "1") or not ("0") with the given money difference for one option:
// above 15 it shows "Terugkopen" when held, below -15 "Bijschrijven".
QString line(const char *difference, const char *flag = "1", const char *strike = "380",
             const char *transactionPrice = "10,00")
{
    return QStringLiteral("AEX; Call; apr; 2013; %1; %2; 1,00; 1; %3; %4").arg(strike, transactionPrice, difference, flag);
}

AdviceAlert alert(const char *strike, const char *advice, const char *difference)
{
    return {QStringLiteral("Pelgrandix: AEX Call apr 2013 %1").arg(strike),
            QStringLiteral("Advies: %1 (verschil %2)").arg(advice, difference)};
}

} // namespace

TEST(AdviceAlerts, OnlyBecomingOrStoppingBuyBackSinceTheDownloadBeforeGivesAnAlert)
{
    struct Case {
        const char *situation;
        QList<QStringList> downloads;
        QList<AdviceAlert> alertsAfterTheLast;
    };
    const Case cases[] = {
        {"the first download only records", {{line("90,00")}}, {}},
        {"becomes Terugkopen", {{line("10,00")}, {line("90,00")}}, {alert("380", "Terugkopen", "90,00")}},
        {"stays Terugkopen", {{line("90,00")}, {line("95,00")}}, {}},
        {"stops, to Bijschrijven", {{line("90,00")}, {line("-90,00")}}, {alert("380", "Bijschrijven", "-90,00")}},
        {"stops, below the threshold", {{line("90,00")}, {line("15,00")}}, {alert("380", "Geen actie", "15,00")}},
        {"other changes say nothing", {{line("-90,00")}, {line("10,00")}}, {}},
        {"unticked since: no longer held", {{line("90,00")}, {line("-90,00", "0")}}, {}},
        {"not held: never Terugkopen", {{line("10,00", "0")}, {line("90,00", "0")}}, {}},
        {"new since the download before", {{line("10,00")}, {line("10,00"), line("90,00", "1", "400")}}, {}},
        {"ticked since: new to the alerts", {{line("90,00", "0")}, {line("90,00")}}, {}},
        {"moved in the list and past a line that is no position",
         {{line("10,00"), line("90,00", "1", "400")}, {line("90,00", "1", "400"), "kapot", line("90,00")}},
         {alert("380", "Terugkopen", "90,00")}},
        {"another line of the option unticked since, each on its own",
         {{line("90,00", "1", "380", "20,00"), line("4,00")}, {line("90,00", "0", "380", "20,00"), line("90,00")}},
         {alert("380", "Terugkopen", "90,00")}},
        {"two lines of one option, each on its own",
         {{line("90,00"), line("10,00")}, {line("90,00"), line("90,00")}}, {alert("380", "Terugkopen", "90,00")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.situation);
        AdviceAlerts alerts;
        QList<AdviceAlert> last;
        for (qsizetype i = 0; i < c.downloads.size(); ++i) {
            last = alerts.afterDownload(c.downloads[i]);
            if (i + 1 < c.downloads.size()) {
                EXPECT_TRUE(last.isEmpty()) << "download " << i + 1;
            }
        }
        ASSERT_EQ(last.size(), c.alertsAfterTheLast.size());
        for (qsizetype i = 0; i < last.size(); ++i) {
            EXPECT_EQ(last[i].summary, c.alertsAfterTheLast[i].summary);
            EXPECT_EQ(last[i].body, c.alertsAfterTheLast[i].body);
        }
    }
}
