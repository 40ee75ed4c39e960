#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QApplication>
#include <QMetaObject>

#include <atomic>

#include "app/main_form.h"
#include "entry/settings_values.h"
#include "market/data_rec.h"
#include "market/index_download.h"
#include "support/fixture_file.h"
#include "support/local_http_server.h"
#include "support/main_window_fixture.h"
#include "support/scripted_ping.h"

namespace {

const QByteArray kPositions =
    "AEX; Call; apr; 2013; 380; 10,00; 1,00; 2; 0,00; 0\r\n"
    "AEX; Put; mrt; 2013; 380; 1,00; 1,00; 1; 0,00; 1\r\n"
    "kept as it is\r\n";

// A quote site serving the sample pages; each page can be replaced by a test.
class QuoteSite
{
public:
    QuoteSite()
    {
        server.server().Get("/derivaten/opties/", [this](const httplib::Request &request, httplib::Response &response) {
            if (request.has_param("call")) {
                ++callRequests;
                if (onCall)
                    onCall();
                response.set_content(callPage.toStdString(), "text/html");
            } else {
                response.set_content(putPage.toStdString(), "text/html");
            }
        });
        server.server().Get("/index.php", [this](const httplib::Request &, httplib::Response &response) {
            response.set_content(indexPage.toStdString(), "text/html");
        });
        server.start();
        host = QByteArray("127.0.0.1:") + QByteArray::number(server.port());
    }

    LocalHttpServer server;
    QByteArray callPage = ReadFixture("calls_sample.html");
    QByteArray putPage = ReadFixture("puts_sample.html");
    QByteArray indexPage = ReadFixture("index_sample.html");
    std::function<void()> onCall;
    std::atomic<int> callRequests = 0;
    QByteArray host;
};

class MainDownload : public ::testing::Test
{
protected:
    MainDownload()
        : fixture(kPositions), form(fixture.form()), quoteHost("PELGRANDIX_QUOTE_HOST", site.host),
          indexHost("PELGRANDIX_INDEX_HOST", site.host), makerHost("PELGRANDIX_MAKER_HOST", site.host)
    {
        LastTime = QTime(0, 0);
        NumberOfMinutes = 15;
    }

    QStringList lines() const { return fixture.entries(); }

    QuoteSite site;
    MainWindowFixture fixture;
    TMainForm *form;
    ScopedEnv quoteHost, indexHost, makerHost;
};

} // namespace

TEST_F(MainDownload, PricesReachEveryPositionAndThePanel)
{
    ScriptedPing ping(ScriptedPing::Reply);
    form->DownloadButtonClick();
    EXPECT_EQ(form->Label1->text(), "Download klaar");
    EXPECT_TRUE(form->AddButton->isEnabled());
    EXPECT_TRUE(form->DownloadButton->isEnabled());
    EXPECT_EQ(lines(), QStringList({"AEX; Call; apr; 2013; 380; 10,00; 12,35; 2; -470,00; 0",
                                    "AEX; Put; mrt; 2013; 380; 1,00; 2,95; 1; -195,00; 1",
                                    "kept as it is"}));
    EXPECT_EQ(form->KoersList->count(), 10) << "a repeated row is listed once";
    EXPECT_EQ(form->Label15->text(), "12,35") << "the panel shows the selected position again";
    EXPECT_NE(LastTime, QTime(0, 0));
    EXPECT_TRUE(form->DownloadTimer->isActive());
    EXPECT_EQ(form->DownloadTimer->interval(), 15 * 60000);
}

TEST_F(MainDownload, NoConnectionChangesNothing)
{
    ScriptedPing ping(ScriptedPing::TimeOut);
    form->DownloadButtonClick();
    EXPECT_EQ(form->Label1->text(), "Geen internetverbinding.");
    EXPECT_FALSE(form->AddButton->isEnabled());
    EXPECT_EQ(lines().first(), "AEX; Call; apr; 2013; 380; 10,00; 1,00; 2; 0,00; 0");
    EXPECT_EQ(site.callRequests, 0);
}

TEST_F(MainDownload, AFailedPageKeepsThePricesAndSaysWhich)
{
    ScriptedPing ping(ScriptedPing::Reply);
    struct Case { QByteArray call, put; const char *status; };
    const Case cases[] = {
        {"", ReadFixture("puts_sample.html"), "Download mislukt: de callpagina is leeg."},
        {"<html>onderhoud</html>", ReadFixture("puts_sample.html"), "Download mislukt: de callpagina bevat geen koersen."},
        {ReadFixture("calls_sample.html"), "", "Download mislukt: de putpagina is leeg."},
        {ReadFixture("calls_sample.html"), "<p>Uitoef. prijs</p>", "Download mislukt: de putpagina bevat geen koersen."},
    };
    const QStringList before = lines();
    for (const Case &c : cases) {
        site.callPage = c.call;
        site.putPage = c.put;
        form->DownloadButtonClick();
        EXPECT_EQ(form->Label1->text(), c.status);
        EXPECT_EQ(lines(), before);
        EXPECT_EQ(LastTime, QTime(0, 0));
        EXPECT_TRUE(form->AddButton->isEnabled()) << "the commands work as after any download";
    }
}

TEST_F(MainDownload, OneDownloadAtATime)
{
    ScriptedPing ping(ScriptedPing::Reply);
    // While the first download waits between its fetches, a click arrives.
    site.onCall = [this] {
        QMetaObject::invokeMethod(form, [this] { form->DownloadButtonClick(); }, Qt::QueuedConnection);
    };
    form->DownloadButtonClick();
    QApplication::processEvents();
    EXPECT_EQ(site.callRequests, 1);
    EXPECT_EQ(form->Label1->text(), "Download klaar");
}

TEST_F(MainDownload, ZeroMinutesNeverMakesTheTimerFireWithoutPause)
{
    ScriptedPing ping(ScriptedPing::Reply);
    NumberOfMinutes = 0;
    form->DownloadButtonClick();
    EXPECT_FALSE(form->DownloadTimer->isActive());
}

TEST_F(MainDownload, IndexLabelsShowLevelChangeAndMoment)
{
    ScriptedPing ping(ScriptedPing::Reply);
    AEXQuote = IndexQuote();
    form->AEXTimerTimer();
    EXPECT_EQ(form->L21->text(), "AEX:");
    EXPECT_EQ(form->L22->text(), "912,34");
    EXPECT_EQ(form->L23->text(), "3,21 (0,35%)");
    EXPECT_EQ(form->L24->text(), "@ 07-12-2026 18:00") << "a quote after the close shows the close";
    EXPECT_EQ(form->L22->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(form->L24->x(), form->L23->x() + form->L23->width() + 7);
}

TEST_F(MainDownload, IndexSiteNotAnsweringIsShownInTheLabels)
{
    ScriptedPing ping(ScriptedPing::TimeOut);
    form->AEXTimerTimer();
    EXPECT_EQ(form->L21->text(), "AEX:");
    EXPECT_EQ(form->L22->text(), QString::fromLatin1(site.host) + " reageert niet");
    EXPECT_EQ(form->L23->text(), "");
    EXPECT_EQ(form->L24->text(), "");
}
