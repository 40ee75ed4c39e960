#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/internet.h"
#include "market/page_fetch.h"
#include "support/local_http_server.h"
#include "support/scoped_env.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace {

QByteArray noise(qsizetype size)
{
    std::mt19937 random(static_cast<unsigned>(size) * 31u + 7u);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(random() & 0xff);
    return bytes;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void serve(httplib::Server &server, const std::string &path, const QByteArray &body)
{
    const std::string bytes = body.toStdString();
    server.Get(path, [bytes](const httplib::Request &, httplib::Response &res) {
        res.set_content(bytes, "text/html");
    });
}

class PageFetch : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScopedCurrentDir cwd{dir.path()};
    int savedTimeout = ReceiveTimeout();
    ~PageFetch() override { SetReceiveTimeout(savedTimeout); }
};

} // namespace

TEST_F(PageFetch, OptionPageIsTheExactBodyAndItsCopyEndsInALineBreak)
{
    LocalHttpServer site;
    serve(site.server(), "/1024", noise(1024));
    serve(site.server(), "/1500", noise(1500));
    site.start();
    const QString urls[] = {site.url("/1024"), site.url("/1500"),
                            QStringLiteral("http://127.0.0.1:%1/").arg(UnusedLocalPort())};
    const QByteArray pages[] = {noise(1024), noise(1500), QByteArray()};
    for (int i = 0; i < 3; ++i) {
        QByteArray page = "earlier page";
        DownloadRightPage(urls[i], page);
        EXPECT_EQ(page, pages[i]) << i;
        EXPECT_EQ(readAll(dir.filePath("Temp.txt")), pages[i] + "\r\n") << i;
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
    EXPECT_TRUE(FetchIndexPage(QStringLiteral("http://127.0.0.1:%1/").arg(UnusedLocalPort())).isEmpty());
}

TEST_F(PageFetch, IndexFetchSetsTheReceiveTimeoutForEveryLaterFetch)
{
    std::atomic<int> requests = 0;
    std::atomic<bool> done = false;
    LocalHttpServer site;
    site.server().Get("/index.php", [&](const httplib::Request &, httplib::Response &res) {
        // The first answer comes only after 3 s; the test lets it go once it is over.
        if (++requests == 1) {
            for (int waited = 0; !done && waited < 3000; waited += 10)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        res.set_content("AEX 901,50", "text/html");
    });
    site.start();
    SetReceiveTimeout(30000);

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(FetchIndexPage(site.url("/index.php?type=main")), "AEX 901,50");
    EXPECT_GE(clock.elapsed(), 1900);
    EXPECT_LT(clock.elapsed(), 3500);
    EXPECT_EQ(requests, 2);
    EXPECT_EQ(ReceiveTimeout(), 2000);
    done = true;
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
