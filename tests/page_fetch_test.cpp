#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/internet.h"
#include "market/page_fetch.h"
#include "support/hostile_inputs.h"
#include "support/server_answers.h"
#include "support/files.h"
#include "support/local_http_server.h"
#include "support/loopback_listener.h"
#include "support/program_state.h"
#include "support/scoped_env.h"
#include "support/wait_until.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

QByteArray noise(qsizetype size)
{
    return QByteArray::fromStdString(::noise(size_t(size), static_cast<unsigned>(size) * 31u + 7u));
}

void serve(httplib::Server &server, const std::string &path, const QByteArray &body)
{
    server.Get(path, page(body.toStdString()));
}

// The index fetch sets the receive time-out for good; the base puts it back.
class PageFetch : public ProgramStateTest
{
protected:
    QTemporaryDir dir;
    ScopedCurrentDir cwd{dir.path()};
};

} // namespace

TEST_F(PageFetch, OptionPageIsTheExactBodyAndItsCopyEndsInALineBreak)
{
    LocalHttpServer site;
    serve(site.server(), "/1024", noise(1024));
    serve(site.server(), "/1500", noise(1500));
    site.start();
    const LoopbackListener closed(LoopbackListener::Refusing);
    const QString urls[] = {site.url("/1024"), site.url("/1500"),
                            closed.url()};
    const QByteArray pages[] = {noise(1024), noise(1500), QByteArray()};
    for (int i = 0; i < 3; ++i) {
        QByteArray page = "earlier page";
        DownloadRightPage(urls[i], page);
        EXPECT_EQ(page, pages[i]) << i;
        EXPECT_EQ(readFile(dir.filePath("Temp.txt")), pages[i] + "\r\n") << i;
    }
    // A copy that cannot be written is no reason to lose the page.
    QFile::remove(dir.filePath("Temp.txt"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Temp.txt"));
    QByteArray page;
    DownloadRightPage(urls[1], page);
    EXPECT_EQ(page, pages[1]);
}

TEST_F(PageFetch, IndexPageIsTriedUpToThreeTimesWhileEmpty)
{
    struct Case { int emptyAnswers; int requests; bool page; };
    const Case cases[] = {{0, 1, true}, {1, 2, true}, {2, 3, true}, {3, 3, false}, {9, 3, false}};
    std::atomic<int> requests = 0;
    std::atomic<int> emptyAnswers = 0;
    LocalHttpServer site;  // after what its handler uses, so it stops first
    site.server().Get("/index.php", [&](const httplib::Request &, httplib::Response &res) {
        const int n = ++requests;
        res.set_content(n > emptyAnswers ? "AEX 900,12" : "", "text/html");
    });
    site.start();
    for (const Case &c : cases) {
        requests = 0;
        emptyAnswers = c.emptyAnswers;
        const QByteArray page = FetchIndexPage(site.url("/index.php?type=main"));
        EXPECT_EQ(page, c.page ? QByteArray("AEX 900,12") : QByteArray()) << c.emptyAnswers;
        EXPECT_EQ(requests, c.requests) << c.emptyAnswers;
    }
    // An address that cannot be opened gives an empty page too.
    const LoopbackListener closed(LoopbackListener::Refusing);
    EXPECT_TRUE(FetchIndexPage(closed.url()).isEmpty());
}

TEST_F(PageFetch, IndexFetchSetsTheReceiveTimeoutForEveryLaterFetch)
{
    std::atomic<int> requests = 0;
    std::atomic<bool> secondAskedWhileFirstHeld = false;
    std::atomic<bool> released = false;
    LocalHttpServer site;
    site.server().Get("/index.php", [&](const httplib::Request &, httplib::Response &res) {
        // The first answer is held back until the test is over; a second request meanwhile
        // means the fetch gave the first one up.
        if (++requests == 1) {
            for (int waited = 0; !released && waited < kPatienceMs; waited += 10)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        } else if (!released) {
            secondAskedWhileFirstHeld = true;
        }
        res.set_content("AEX 901,50", "text/html");
    });
    site.start();
    const auto release = qScopeGuard([&released] { released = true; });
    SetReceiveTimeout(30000);

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(FetchIndexPage(site.url("/index.php?type=main")), "AEX 901,50");
    EXPECT_TRUE(secondAskedWhileFirstHeld);
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(ReceiveTimeout(), 2000);
    // Given up after that time-out, not the thirty seconds that were set before.
    EXPECT_GE(clock.elapsed(), 2000 * 95 / 100);
    EXPECT_LT(clock.elapsed(), 15000);
}

TEST_F(PageFetch, IndexPageGoesThroughTheProxyTheEnvironmentNamesOptionPagesDirect)
{
    LocalHttpServer site;
    serve(site.server(), "/index.php", "direct");
    serve(site.server(), "/derivaten/opties/", "direct");
    site.start();
    LocalHttpServer proxy;
    serve(proxy.server(), ".*", "through the proxy");
    proxy.start();
    ScopedEnv httpProxy("http_proxy", proxy.url("").toLatin1());
    ScopedEnv noProxy("no_proxy", std::nullopt);

    EXPECT_EQ(FetchIndexPage(site.url("/index.php?type=main")), "through the proxy");
    QByteArray page;
    DownloadRightPage(site.url("/derivaten/opties/?call=AEX.AEX/O"), page);
    EXPECT_EQ(page, "direct");
}
