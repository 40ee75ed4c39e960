#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <optional>

#include "app/main_form.h"
#include "app/main_form_windows.h"
#include "book/positions_book.h"
#include "entry/options_form.h"
#include "entry/settings_values.h"
#include "market/data_rec.h"
#include "market/index_download.h"
#include "support/files.h"
#include "support/main_window_fixture.h"
#include "support/quote_site.h"
#include "support/server_answers.h"
#include "support/scripted_ping.h"
#include "support/timeout_guard.h"
#include "support/wait_until.h"

namespace {

const QByteArray kPositions =
    "AEX; Call; apr; 2013; 380; 10,00; 1,00; 2; 0,00; 0\r\n"
    "AEX; Put; mrt; 2013; 380; 1,00; 1,00; 1; 0,00; 1\r\n"
    "kept as it is\r\n";

class MainDownload : public ::testing::Test
{
protected:
    MainDownload() : fixture(kPositions), form(fixture.form())
    {
        LastTime = QTime(0, 0);
        NumberOfMinutes = 15;
    }

    QStringList lines() const { return fixture.entries(); }

    QuoteSite site;  // before the window, which then keeps the site's hosts
    MainWindowFixture fixture;
    TMainForm *form;
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
    EXPECT_EQ(form->book().KoersList().count(), 10) << "a repeated row is listed once";
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
    EXPECT_EQ(site.requests(QuoteSite::Calls), 0);
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
        site.serve(QuoteSite::Calls, c.call);
        site.serve(QuoteSite::Puts, c.put);
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
    const Handler calls = page(ReadFixture("calls_sample.html").toStdString());
    site.answer(QuoteSite::Calls, [this, calls](const httplib::Request &request, httplib::Response &response) {
        QMetaObject::invokeMethod(form, [this] { form->DownloadButtonClick(); }, Qt::QueuedConnection);
        calls(request, response);
    });
    form->DownloadButtonClick();
    QApplication::processEvents();
    EXPECT_EQ(site.requests(QuoteSite::Calls), 1);
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
    EXPECT_EQ(form->L22->text(), QString::fromLatin1(site.host()) + " reageert niet");
    EXPECT_EQ(form->L23->text(), "");
    EXPECT_EQ(form->L24->text(), "");
}

TEST_F(MainDownload, IndexRefreshThatWaitedLongLeavesTheWindowAWholePeriod)
{
    ScriptedPing ping(ScriptedPing::Reply);
    // A site that sends a byte now and then holds each refresh until the fetch's deadline, here
    // longer than the period between refreshes.
    using Clock = std::chrono::steady_clock;
    std::mutex mutex;
    QList<Clock::time_point> arrivals;
    site.answer(QuoteSite::Index, [&](const httplib::Request &request, httplib::Response &response) {
        {
            const std::lock_guard lock(mutex);
            arrivals << Clock::now();
        }
        trickle()(request, response);
    });
    const TimeoutGuard slow(kReceiveTimeoutMs, 700);
    form->AEXTimer->setInterval(500);
    form->AEXTimerTimer();
    const Clock::time_point firstEnded = Clock::now();
    // The refresh's own attempts all came before it ended.
    const auto nextRefresh = [&] {
        const std::lock_guard lock(mutex);
        const auto later = std::find_if(arrivals.cbegin(), arrivals.cend(), [&](auto t) { return t > firstEnded; });
        return later == arrivals.cend() ? std::optional<Clock::time_point>() : *later;
    };
    ASSERT_TRUE(waitUntil([&] { return nextRefresh().has_value(); }));
    EXPECT_GE(*nextRefresh() - firstEnded, std::chrono::milliseconds(450)) << "the next refresh came early";
}

TEST_F(MainDownload, CloseDuringADownloadEndsItsWaitsAtOnce)
{
    ScriptedPing ping(ScriptedPing::Reply);
    site.answer(QuoteSite::Calls, trickle());
    site.answer(QuoteSite::Puts, trickle());
    const TimeoutGuard slow(kReceiveTimeoutMs, 5000);
    form->show();
    // The close comes while the download lets events run.
    QTimer::singleShot(0, form, [this] { form->close(); });
    QElapsedTimer clock;
    clock.start();
    form->DownloadButtonClick();
    EXPECT_FALSE(form->isVisible());
    EXPECT_LT(clock.elapsed(), 2500) << "the download went on after the close";
    EXPECT_EQ(fixture.fileBytes("Regels.dat"), kPositions);
}

TEST_F(MainDownload, TimerTickDownloadsWhenTheTimeOfDayAllows)
{
    ScriptedPing ping(ScriptedPing::Reply);
    struct Case { QTime now, last; bool downloads; };
    const Case cases[] = {
        {{12, 0}, {11, 45}, true},   // during the trading day
        {{20, 0}, {18, 45}, false},  // in the evening, once the closing prices are in
        {{20, 0}, {18, 0}, true},    // ... but not before
        {{8, 30}, {18, 40}, false},  // before the opening, after yesterday's closing prices
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.now.toString().toStdString());
        form->timeOfDay = [&c] { return c.now; };
        LastTime = c.last;
        const int callPages = site.requests(QuoteSite::Calls);
        // Connected after the window's own handler, so it counts ticks that have been handled.
        int ticks = 0;
        const QObject counting;  // ends the connection with this case
        QObject::connect(form->DownloadTimer, &SteadyTimer::timeout, &counting, [&ticks] { ++ticks; });
        form->DownloadTimer->setInterval(10);
        form->DownloadTimer->setEnabled(true);
        ASSERT_TRUE(waitUntil([&ticks] { return ticks > 0; }));
        EXPECT_EQ(site.requests(QuoteSite::Calls) - callPages, c.downloads ? 1 : 0);
        EXPECT_EQ(LastTime != c.last, c.downloads) << "a finished download notes its time";
        // A download sets the next period from the settings.
        EXPECT_EQ(form->DownloadTimer->interval(), c.downloads ? 15 * 60000 : 10);
        form->DownloadTimer->setEnabled(false);
    }
}

TEST_F(MainDownload, ManualDownloadLeavesTheTimerAsTheSwitchSays)
{
    ScriptedPing ping(ScriptedPing::Reply);
    const std::unique_ptr<TOptionsForm> made = MakeOptionsForm(*form);
    TOptionsForm &options = *made;
    for (bool on : {false, true}) {
        SCOPED_TRACE(on ? "switched on" : "switched off");
        if (options.DownloadCheck->isChecked() != on)
            options.DownloadCheck->click();  // the user's click switches the timer at once
        EXPECT_EQ(form->DownloadTimer->isEnabled(), on);
        form->DownloadButtonClick();
        EXPECT_EQ(form->Label1->text(), "Download klaar");
        EXPECT_EQ(form->DownloadTimer->isEnabled(), on);
        EXPECT_EQ(form->DownloadTimer->isActive(), on);
    }
}
