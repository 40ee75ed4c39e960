#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <httplib.h>

#include <atomic>
#include <thread>

#include "book/positions_book.h"
#include "market/index_download.h"
#include "market/internet.h"
#include "market/option_download.h"
#include "market/quote_list.h"
#include "support/hostile_inputs.h"
#include "support/loopback_listener.h"
#include "support/program_state.h"
#include "support/quote_site.h"
#include "support/scoped_env.h"
#include "support/scripted_ping.h"
#include "support/server_answers.h"
#include "support/timeout_guard.h"
#include "update/update_check.h"
#include "update/version_list.h"

// Quote sites that misbehave: pages that break off, megabytes of garbage, error pages, a site
// that takes the connection and never answers. The downloads must end within their time-outs,
// say what went wrong, and leave the positions and the last good quotes alone.

namespace {

constexpr int kDeadlineMs = 1500;  // the program's own is 30 s
constexpr qsizetype kTenMegabytes = 10 * 1024 * 1024;

const std::string kCallPage = priceTable("12,35");
const std::string kPutPage = priceTable("4,60");

const QStringList kPositions = {
    "AEX; Call; apr; 2013; 380; 10,00; 11,00; 2; -200,00; 0",
    "AEX; Put; apr; 2013; 380; 5,00; 4,00; 1; 100,00; 1",
    "AEX; Call; apr; 2013; 310; 1,00; 0,50; 1; 50,00; 0",
    "notitie zonder velden",
};
const QStringList kUpdatedPositions = {
    "AEX; Call; apr; 2013; 380; 10,00; 12,35; 2; -470,00; 0",
    "AEX; Put; apr; 2013; 380; 5,00; 4,60; 1; 40,00; 1",
    "AEX; Call; apr; 2013; 310; 1,00; 3,10; 1; -210,00; 0",
    "notitie zonder velden",
};

// A stand-in for the window: what the positions book tells the window it shows, kept.
class RecordingWindow
{
public:
    PositionsBook book{QStringLiteral("Pelgrandix")};
    QStringList statusTexts;
    bool commandsEnabled = false;
    int pricesShown = 0;
    int busy = 0;
    QList<IndexQuoteResult> indexShown;

    RecordingWindow()
    {
        for (const QString &line : kPositions)
            book.appendLine(line);
        QObject::connect(&book, &PositionsBook::statusChanged, [this](const QString &text) { statusTexts << text; });
        QObject::connect(&book, &PositionsBook::busyChanged, [this](bool on) { busy += on ? 1 : -1; });
        QObject::connect(&book, &PositionsBook::pagesFetched, [this] { commandsEnabled = true; });
        QObject::connect(&book, &PositionsBook::pricesUpdated, [this] { ++pricesShown; });
        QObject::connect(&book, &PositionsBook::indexQuoteChanged,
                         [this](const IndexQuoteResult &result) { indexShown << result; });
    }
    QStringList lines() const { return book.lines(); }
    const QuoteList &quotes() const { return book.KoersList(); }
};

// One site for all three hosts; what it answers is switched per case.
class HostileSite : public ProgramStateTest
{
protected:
    HostileSite()
    {
        window.book.KoersList().add("AEX C; 19-04-2013; 380,00; 11,00");  // the last good download
    }

    // Runs one option download and returns how long it kept the caller waiting, in ms.
    qint64 download()
    {
        QElapsedTimer clock;
        clock.start();
        DownloadPages(window.book);
        return clock.elapsed();
    }

    int requests() const
    {
        return site.requests(QuoteSite::Calls) + site.requests(QuoteSite::Puts) + site.requests(QuoteSite::Index);
    }

    QTemporaryDir folder;
    ScopedCurrentDir cwd{folder.path()};  // the probe's and the page copy's files land here
    ScriptedPing ping;
    TimeoutGuard timeout{kReceiveTimeoutMs};
    RecordingWindow window;
    QuoteSite site;
};

} // namespace

TEST_F(HostileSite, GoodPagesUpdateThePositionsAsIntended)
{
    site.answer(QuoteSite::Calls, page(kCallPage));
    site.answer(QuoteSite::Puts, page(kPutPage));
    download();
    EXPECT_EQ(window.statusTexts.value(0), "Download klaar");
    EXPECT_EQ(window.lines(), kUpdatedPositions);
    EXPECT_EQ(window.quotes().count(), 200);
    EXPECT_EQ(window.pricesShown, 1);
}

TEST_F(HostileSite, PageThatFailsChangesNoPositionAndKeepsTheLastQuotes)
{
    const std::string garbage = noise(kTenMegabytes, 7);
    struct Case { const char *name; Handler call, put; const char *status; };
    const Case cases[] = {
        // Half the rows would price the positions behind the break at 0.
        {"call page breaks off", brokenOff(kCallPage, kCallPage.size() / 2), page(kPutPage),
         "Download mislukt: de callpagina is niet volledig ontvangen."},
        {"put page breaks off", page(kCallPage), brokenOff(kPutPage, kPutPage.size() - 100),
         "Download mislukt: de putpagina is niet volledig ontvangen."},
        {"call page is 10 MB of garbage", page(garbage), page(kPutPage),
         "Download mislukt: de callpagina bevat geen koersen."},
        {"put page is 10 MB of garbage", page(kCallPage), page(garbage),
         "Download mislukt: de putpagina bevat geen koersen."},
        {"call page not found", page("<html><body><h1>404 Niet gevonden</h1></body></html>", 404),
         page(kPutPage), "Download mislukt: de callpagina bevat geen koersen."},
        {"put page server error", page(kCallPage),
         page("<html><body>500 - Interne fout - 19-04-13 Uitoef. prijs</body></html>", 500),
         "Download mislukt: de putpagina bevat geen koersen."},
        {"call page empty", page(""), page(kPutPage), "Download mislukt: de callpagina is leeg."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        site.answer(QuoteSite::Calls, c.call);
        site.answer(QuoteSite::Puts, c.put);
        window.statusTexts.clear();
        window.commandsEnabled = false;
        const qint64 elapsed = download();
        EXPECT_LT(elapsed, kWithinTimeOutsMs);
        EXPECT_EQ(window.statusTexts, QStringList{c.status});
        EXPECT_EQ(window.lines(), kPositions);
        EXPECT_EQ(window.quotes().lines(), QStringList{"AEX C; 19-04-2013; 380,00; 11,00"});
        EXPECT_TRUE(window.commandsEnabled);
        EXPECT_EQ(window.pricesShown, 0);
        EXPECT_EQ(window.busy, 0);
    }
}

TEST_F(HostileSite, SiteThatTricklesOrStreamsWithoutEndIsGivenUpAndChangesNothing)
{
    const TimeoutGuard deadline(kReceiveTimeoutMs, kDeadlineMs);
    struct Case { const char *name; Handler hostile; bool onCallPage; const char *status; };
    const Case cases[] = {
        {"call page trickles", trickle(), true, "Download mislukt: de callpagina is niet volledig ontvangen."},
        {"put page trickles", trickle(), false, "Download mislukt: de putpagina is niet volledig ontvangen."},
        {"call page streams", endless(), true, "Download mislukt: de callpagina is niet volledig ontvangen."},
        {"put page streams", endless(), false, "Download mislukt: de putpagina is niet volledig ontvangen."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        site.answer(QuoteSite::Calls, c.onCallPage ? c.hostile : page(kCallPage));
        site.answer(QuoteSite::Puts, c.onCallPage ? page(kPutPage) : c.hostile);
        site.answer(QuoteSite::Index, c.hostile);
        window.statusTexts.clear();
        EXPECT_LT(download(), kDeadlineMs + 1500);
        EXPECT_EQ(window.statusTexts, QStringList{c.status});
        EXPECT_EQ(window.lines(), kPositions);
        EXPECT_EQ(window.quotes().lines(), QStringList{"AEX C; 19-04-2013; 380,00; 11,00"});
        // What was taken in is bounded: the page copy holds all of it.
        EXPECT_LE(QFileInfo(folder.filePath("Temp.txt")).size(), kPageByteLimit + 2);

        QElapsedTimer clock;
        clock.start();
        DownloadAEX(window.book);
        EXPECT_LT(clock.elapsed(), kDeadlineMs + 1500);
        EXPECT_TRUE(window.indexShown.isEmpty());
    }
}

TEST_F(HostileSite, SiteThatNeverAnswersHoldsTheWindowForOneTimeOut)
{
    LoopbackListener silent(LoopbackListener::Silent);
    ScopedEnv quoteHost("PELGRANDIX_QUOTE_HOST", silent.host());
    const qint64 elapsed = download();
    // The call page is given up after the receive time-out; without calls the put page is not
    // asked for, so the wait is not doubled.
    EXPECT_GE(elapsed, kReceiveTimeoutMs * 95 / 100);
    EXPECT_LT(elapsed, 2 * kReceiveTimeoutMs);
    EXPECT_EQ(window.statusTexts, QStringList{"Download mislukt: de callpagina is leeg."});
    EXPECT_EQ(window.lines(), kPositions);
    EXPECT_TRUE(window.commandsEnabled);
}

TEST_F(HostileSite, NoConnectionAsksNothing)
{
    ping.answer(ScriptedPing::TimeOut);
    site.answer(QuoteSite::Calls, page(kCallPage));
    site.answer(QuoteSite::Puts, page(kPutPage));
    EXPECT_LT(download(), kWithinTimeOutsMs);
    EXPECT_EQ(window.statusTexts, QStringList{"Geen internetverbinding."});
    EXPECT_EQ(requests(), 0);
    EXPECT_EQ(window.lines(), kPositions);
    EXPECT_FALSE(window.commandsEnabled);
}

namespace {

std::string indexPageText(const char *time, const char *level)
{
    return std::string("<html><body><div>Koers;<span>07-12-26</span><span>") + time
        + "</span><a href=\"/\">HOME</a><span>AEX</span><span>" + level
        + "</span><span>(3,21)</span><span>0,35%</span></div>" + std::string(400, ' ')
        + "</body></html>";
}

} // namespace

TEST_F(HostileSite, IndexRefreshShowsNothingFromABadPage)
{
    site.answer(QuoteSite::Index, page(indexPageText("17:35:12", "912,34")));
    DownloadAEX(window.book);
    ASSERT_EQ(window.indexShown.size(), 1);
    EXPECT_EQ(window.indexShown.at(0).l22, "912,34");

    // Each page carries a new quote time, so a page that were read would be shown.
    const std::string later = indexPageText("17:36:40", "915,78");
    const std::string garbage = noise(kTenMegabytes, 11);
    struct Case { const char *name; Handler answer; int requests; };
    const Case cases[] = {
        // Cut inside the level: "91" would be shown as the index. Tried three times, then given up.
        {"page breaks off", brokenOff(later, later.find("915") + 2), 3},
        {"10 MB of garbage", page(garbage), 1},
        {"not found", page("<html><body><h1>404 Niet gevonden</h1></body></html>", 404), 1},
        {"server error", page(std::string(200, '\xff') + "HOME;\x01\x02", 500), 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        site.answer(QuoteSite::Index, c.answer);
        const int before = site.requests(QuoteSite::Index);
        QElapsedTimer clock;
        clock.start();
        DownloadAEX(window.book);
        EXPECT_LT(clock.elapsed(), kWithinTimeOutsMs);
        EXPECT_EQ(site.requests(QuoteSite::Index) - before, c.requests);
        EXPECT_EQ(window.indexShown.size(), 1);
        EXPECT_EQ(window.busy, 0);
    }
    // A good page afterwards is shown again.
    site.answer(QuoteSite::Index, page(later));
    DownloadAEX(window.book);
    ASSERT_EQ(window.indexShown.size(), 2);
    EXPECT_EQ(window.indexShown.at(1).l22, "915,78");
}

TEST_F(HostileSite, IndexSiteThatNeverAnswersIsGivenUpAfterThreeTimeOuts)
{
    LoopbackListener silent(LoopbackListener::Silent);
    ScopedEnv indexHost("PELGRANDIX_INDEX_HOST", silent.host());
    QElapsedTimer clock;
    clock.start();
    DownloadAEX(window.book);
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 3 * kReceiveTimeoutMs * 95 / 100);
    EXPECT_LT(elapsed, 4 * kReceiveTimeoutMs) << "tried a fourth time";
    EXPECT_TRUE(window.indexShown.isEmpty());
    EXPECT_EQ(window.busy, 0);
}

TEST_F(HostileSite, SiteWhoseCertificateIsNotTrustedIsNotReadAndTheBarSaysSo)
{
    // Made here for 127.0.0.1 and signed by nobody the system's store knows: anyone on the way
    // could have made it.
    QTemporaryDir tls;
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                              "-nodes", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                              "-keyout", tls.filePath("key.pem"), "-out", tls.filePath("cert.pem")});
    ASSERT_TRUE(openssl.waitForFinished() && openssl.exitCode() == 0) << openssl.readAll().toStdString();
    httplib::SSLServer server(qPrintable(tls.filePath("cert.pem")), qPrintable(tls.filePath("key.pem")));
    std::atomic<int> requests = 0;
    server.Get(".*", [&](const httplib::Request &, httplib::Response &res) {
        ++requests;
        res.set_content("Pelgrandix", "text/plain");
    });
    const QByteArray address = "https://127.0.0.1:" + QByteArray::number(server.bind_to_any_port("127.0.0.1"));
    std::thread serving([&] { server.listen_after_bind(); });
    for (const char *site : {"PELGRANDIX_QUOTE_HOST", "PELGRANDIX_INDEX_HOST", "PELGRANDIX_MAKER_HOST"})
        qputenv(site, address);  // the fixture's state puts them back

    download();
    EXPECT_EQ(window.statusTexts.value(0), "Download mislukt: het certificaat van 127.0.0.1 wordt niet vertrouwd.");
    EXPECT_EQ(window.lines(), kPositions);
    DownloadAEX(window.book);
    EXPECT_EQ(window.indexShown.value(0).l22, "het certificaat van 127.0.0.1 wordt niet vertrouwd");
    QString name = "Pelgrandix", version, remark;
    EXPECT_EQ(GetDownloadName(name, version, remark, "versie 1.20a", [] { return ProbeResult{"Reply"}; }),
              SiteNotTrusted);
    EXPECT_EQ(UpdateResultText(SiteNotTrusted, "NLD"),
              QStringList{"Het certificaat van de makersite wordt niet vertrouwd."});
    EXPECT_EQ(requests, 0);
    server.stop();
    serving.join();
}
