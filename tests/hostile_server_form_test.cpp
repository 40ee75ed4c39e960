#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QApplication>
#include <QElapsedTimer>

#include "app/main_form.h"
#include "positions/positions_file.h"
#include "support/hostile_inputs.h"
#include "support/loopback_listener.h"
#include "support/main_window_fixture.h"
#include "support/quote_site.h"
#include "support/server_answers.h"
#include "support/scripted_ping.h"
#include "support/timeout_guard.h"

// The download command of the main window against a quote site that breaks off or never
// answers: the window is blocked no longer than the time-outs, tells what went wrong, and the
// positions it shows and saves are the ones it had.

namespace {

const QByteArray kPositionsFile =
    "; posities\r\n"
    "AEX; Call; apr; 2013; 380; 10,00; 11,00; 2; -200,00; 0\r\n"
    "AEX; Put; apr; 2013; 380; 5,00; 4,00; 1; 100,00; 1\r\n";
const QStringList kPositions = positions_file::decode(kPositionsFile);

qint64 clickDownload(TMainForm *form)
{
    QElapsedTimer clock;
    clock.start();
    form->DownloadButtonClick();
    return clock.elapsed();
}

} // namespace

TEST(HostileQuoteSite, DownloadCommandKeepsThePositionsOfAPageThatBrokeOff)
{
    QuoteSite site;
    const std::string table = priceTable("12,35");
    site.answer(QuoteSite::Calls, brokenOff(table, table.size() / 2));
    site.answer(QuoteSite::Puts, brokenOff(table, table.size() / 2));
    MainWindowFixture fixture(kPositionsFile);
    ScriptedPing ping;
    TimeoutGuard timeout(kReceiveTimeoutMs);

    TMainForm *form = fixture.form();
    EXPECT_LT(clickDownload(form), kWithinTimeOutsMs);
    EXPECT_EQ(form->Label1->text(), "Download mislukt: de callpagina is niet volledig ontvangen.");
    EXPECT_EQ(fixture.entries(), kPositions);
    EXPECT_TRUE(form->DownloadButton->isEnabled());
    EXPECT_TRUE(form->AddButton->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Saved as a close saves; the window stays open, since a close would end every wait after it.
    form->WriteRegels();
    EXPECT_EQ(positions_file::decode(fixture.fileBytes("Regels.dat")), kPositions);

    // The same site sending whole pages: the call's price reaches its line.
    site.answer(QuoteSite::Calls, page(table));
    site.answer(QuoteSite::Puts, page(table));
    clickDownload(form);
    EXPECT_EQ(form->Label1->text(), "Download klaar");
    EXPECT_EQ(fixture.entries().value(0), "AEX; Call; apr; 2013; 380; 10,00; 12,35; 2; -470,00; 0");
}

TEST(HostileQuoteSite, DownloadCommandAgainstASilentSiteEndsAfterOneTimeOut)
{
    LoopbackListener silent(LoopbackListener::Silent);
    ScopedEnv quoteHost("PELGRANDIX_QUOTE_HOST", silent.host());
    MainWindowFixture fixture(kPositionsFile);
    ScriptedPing ping;
    TimeoutGuard timeout(kReceiveTimeoutMs);

    TMainForm *form = fixture.form();
    const qint64 elapsed = clickDownload(form);
    // The call page is given up after one time-out, and the put page is then not asked for.
    EXPECT_GE(elapsed, kReceiveTimeoutMs * 95 / 100);
    EXPECT_LT(elapsed, 2 * kReceiveTimeoutMs);
    EXPECT_EQ(form->Label1->text(), "Download mislukt: de callpagina is leeg.");
    EXPECT_EQ(fixture.entries(), kPositions);
    EXPECT_TRUE(form->DownloadButton->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
