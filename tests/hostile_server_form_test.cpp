#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QApplication>
#include <QElapsedTimer>

#include <atomic>

#include "app/main_form.h"
#include "positions/positions_file.h"
#include "market/internet.h"
#include "support/hostile_inputs.h"
#include "support/local_http_server.h"
#include "support/main_window_fixture.h"
#include "support/scripted_ping.h"
#include "support/silent_listener.h"

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
    MainWindowFixture fixture(kPositionsFile);
    ScriptedPing ping;
    TimeoutGuard timeout(2000);
    const std::string page = priceTable("12,35");
    std::atomic<bool> whole = false;
    LocalHttpServer site;
    site.server().Get("/derivaten/opties/", [&](const httplib::Request &, httplib::Response &res) {
        const size_t sent = whole ? page.size() : page.size() / 2;
        res.set_content_provider(page.size(), "text/html",
                                 [&page, sent](size_t offset, size_t, httplib::DataSink &sink) {
                                     return offset < sent && sink.write(page.data() + offset, sent - offset);
                                 });
    });
    site.start();
    ScopedEnv quoteHost("PELGRANDIX_QUOTE_HOST", QByteArray("127.0.0.1:") + QByteArray::number(site.port()));

    TMainForm *form = fixture.form();
    EXPECT_LT(clickDownload(form), 3000);
    EXPECT_EQ(form->Label1->text(), "Download mislukt: de callpagina is niet volledig ontvangen.");
    EXPECT_EQ(fixture.entries(), kPositions);
    EXPECT_TRUE(form->DownloadButton->isEnabled());
    EXPECT_TRUE(form->AddButton->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    form->close();
    EXPECT_EQ(positions_file::decode(fixture.fileBytes("Regels.dat")), kPositions);

    // The same site sending whole pages: the call's price reaches its line.
    whole = true;
    clickDownload(form);
    EXPECT_EQ(form->Label1->text(), "Download klaar");
    EXPECT_EQ(fixture.entries().value(0), "AEX; Call; apr; 2013; 380; 10,00; 12,35; 2; -470,00; 0");
}

TEST(HostileQuoteSite, DownloadCommandAgainstASilentSiteEndsAfterOneTimeOut)
{
    MainWindowFixture fixture(kPositionsFile);
    ScriptedPing ping;
    TimeoutGuard timeout(2000);
    SilentListener silent;
    ScopedEnv quoteHost("PELGRANDIX_QUOTE_HOST", QByteArray("127.0.0.1:") + QByteArray::number(silent.port()));

    TMainForm *form = fixture.form();
    const qint64 elapsed = clickDownload(form);
    EXPECT_GE(elapsed, 1900);
    EXPECT_LT(elapsed, 3500);
    EXPECT_EQ(form->Label1->text(), "Download mislukt: de callpagina is leeg.");
    EXPECT_EQ(fixture.entries(), kPositions);
    EXPECT_TRUE(form->DownloadButton->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
