#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/internet.h"
#include "support/hostile_inputs.h"
#include "support/local_http_server.h"
#include "support/loopback_listener.h"
#include "support/timeout_guard.h"
#include "support/wait_until.h"

#include <QByteArrayList>
#include <QScopeGuard>

#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

// Bytes without any repeating pattern, so a block delivered twice or out of place shows.
std::string noise(size_t size)
{
    return ::noise(size, static_cast<unsigned>(size));
}

struct Fetched {
    bool opened = false;
    QList<QByteArray> blocks;
    QByteArray joined() const { return blocks.join(); }
};

Fetched fetch(const QString &url, qsizetype blockSize, bool reload = true)
{
    Fetched result;
    FetchOptions options;
    options.reload = reload;
    result.opened = ReadUrl(url, blockSize, [&result](QByteArrayView block) {
        result.blocks << block.toByteArray();
        return true;
    }, options);
    return result;
}

// Serves body in pieces of the given size, each as a chunk of its own.
void serveInPieces(httplib::Server &server, const std::string &path, std::string body, size_t piece)
{
    server.Get(path, [body, piece](const httplib::Request &, httplib::Response &res) {
        res.set_chunked_content_provider("text/html", [body, piece](size_t offset, httplib::DataSink &sink) {
            if (offset >= body.size()) {
                sink.done();
                return true;
            }
            return sink.write(body.data() + offset, std::min(piece, body.size() - offset));
        });
    });
}

// Lets a handler hold back until the test is done with it.
struct Gate {
    std::atomic<bool> open = false;
    void wait() const
    {
        for (int waited = 0; !open && waited < kPatienceMs; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
};

} // namespace

TEST(Internet, ReceiveTimeoutIsThirtySecondsUntilSet)
{
    EXPECT_EQ(ReceiveTimeout(), 30000);
    TimeoutGuard guard(2000);
    EXPECT_EQ(ReceiveTimeout(), 2000);
}

TEST(Internet, BodyComesInFullBlocksHoweverTheNetworkCutsIt)
{
    struct Case { size_t size; qsizetype block; size_t piece; };  // piece 0: in one go
    const Case cases[] = {
        {0, 1024, 0}, {1, 1024, 0}, {1023, 1024, 0}, {1024, 1024, 0}, {1500, 1024, 0},
        {2048, 1024, 0}, {70000, 4096, 0}, {5000, 2048, 7}, {4096, 4096, 1000},
        {3000, 1024, 1}, {1025, 1024, 1024},
    };
    LocalHttpServer site;
    int n = 0;
    for (const Case &c : cases) {
        const std::string path = "/page" + std::to_string(n++);
        if (c.piece == 0) {
            const std::string body = noise(c.size);
            site.server().Get(path, [body](const httplib::Request &, httplib::Response &res) {
                res.set_content(body, "text/html");
            });
        } else {
            serveInPieces(site.server(), path, noise(c.size), c.piece);
        }
    }
    site.start();
    n = 0;
    for (const Case &c : cases) {
        const Fetched got = fetch(site.url(QString::fromStdString("/page" + std::to_string(n++))), c.block);
        const std::string expected = noise(c.size);
        SCOPED_TRACE(testing::Message() << c.size << " bytes, block " << c.block << ", piece " << c.piece);
        EXPECT_TRUE(got.opened);
        EXPECT_EQ(got.joined(), QByteArray::fromStdString(expected));
        EXPECT_EQ(got.blocks.size(), qsizetype((c.size + c.block - 1) / c.block));
        for (qsizetype i = 0; i + 1 < got.blocks.size(); ++i)
            EXPECT_EQ(got.blocks[i].size(), c.block) << "block " << i;
        if (!got.blocks.isEmpty()) {
            EXPECT_GT(got.blocks.last().size(), 0);
        }
    }
}

TEST(Internet, ReceiverCanStopTheRead)
{
    LocalHttpServer site;
    site.server().Get("/big", [](const httplib::Request &, httplib::Response &res) {
        res.set_content(noise(100000), "text/html");
    });
    site.start();
    int blocks = 0;
    EXPECT_TRUE(ReadUrl(site.url("/big"), 1024, [&blocks](QByteArrayView) { return ++blocks < 2; }));
    EXPECT_EQ(blocks, 2);

    EXPECT_THROW(ReadUrl(site.url("/big"), 1024, [](QByteArrayView) -> bool {
        throw std::runtime_error("stop");
    }), std::runtime_error);
}

TEST(Internet, ServerSeesTheAgentAndNoCacheOnReload)
{
    std::mutex lock;
    std::vector<std::array<std::string, 3>> seen;
    LocalHttpServer site;
    site.server().Get("/", [&](const httplib::Request &req, httplib::Response &res) {
        std::lock_guard<std::mutex> hold(lock);
        seen.push_back({req.get_header_value("User-Agent"), req.get_header_value("Cache-Control"),
                        req.get_header_value("Pragma")});
        res.set_content("x", "text/plain");
    });
    site.start();
    fetch(site.url("/"), 1024, true);
    fetch(site.url("/"), 1024, false);
    std::lock_guard<std::mutex> hold(lock);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0][0], "Rondel Function: Download");
    EXPECT_EQ(seen[0][1], "no-cache");
    EXPECT_EQ(seen[0][2], "no-cache");
    EXPECT_EQ(seen[1][0], "Rondel Function: Download");
    EXPECT_EQ(seen[1][1], "");
    EXPECT_EQ(seen[1][2], "");
}

TEST(Internet, ErrorPageOpensAndDeliversItsBody)
{
    LocalHttpServer site;
    site.server().Get("/gone", [](const httplib::Request &, httplib::Response &res) {
        res.status = 404;
        res.set_content("<html>niet gevonden</html>", "text/html");
    });
    site.server().Get("/moved", [](const httplib::Request &, httplib::Response &res) {
        res.set_redirect("/gone");
    });
    site.start();
    const Fetched gone = fetch(site.url("/gone"), 1024);
    EXPECT_TRUE(gone.opened);
    EXPECT_EQ(gone.joined(), "<html>niet gevonden</html>");

    // The status is known to the receiver from the first block on: that of the final answer.
    for (const char *path : {"/gone", "/moved"}) {
        FetchAnswer answer;
        int statusAtFirstBlock = -1;
        EXPECT_TRUE(ReadUrl(site.url(path), 4, [&](QByteArrayView) {
            if (statusAtFirstBlock < 0)
                statusAtFirstBlock = answer.status;
            return false;
        }, {}, &answer)) << path;
        EXPECT_EQ(statusAtFirstBlock, 404) << path;
        EXPECT_EQ(answer.status, 404) << path;
    }
    const LoopbackListener closed(LoopbackListener::Refusing);
    FetchAnswer answer;
    answer.status = -1;
    EXPECT_FALSE(ReadUrl(closed.url(), 4,
                         [](QByteArrayView) { return true; }, {}, &answer));
    EXPECT_EQ(answer.status, 0);
}

TEST(Internet, AddressThatCannotBeOpenedDeliversNothing)
{
    const LoopbackListener closed(LoopbackListener::Refusing);
    const QString urls[] = {
        closed.url(),
        QStringLiteral("http://%1/").arg(kUnresolvableHost),
        QStringLiteral("file:///etc/hostname"),
        QStringLiteral("not an address"),
    };
    for (const QString &url : urls) {
        const Fetched got = fetch(url, 1024);
        EXPECT_FALSE(got.opened) << url.toStdString();
        EXPECT_TRUE(got.blocks.isEmpty()) << url.toStdString();
    }
}

TEST(Internet, SilentServerIsGivenUpAfterTheReceiveTimeout)
{
    constexpr int kTimeoutMs = 1000;
    Gate gate;           // the silent answers come only once the test is over
    Gate receiverDone;   // the second block of "/twice" comes once the receiver took the first
    LocalHttpServer site;
    site.server().Get("/mute", [&gate](const httplib::Request &, httplib::Response &res) {
        gate.wait();
        res.set_content("late", "text/plain");
    });
    site.server().Get("/stalls", [&gate](const httplib::Request &, httplib::Response &res) {
        res.set_chunked_content_provider("text/html", [&gate](size_t offset, httplib::DataSink &sink) {
            if (offset > 0) {
                gate.wait();
                sink.done();
                return true;
            }
            return sink.write(std::string(100, 'a').data(), 100);
        });
    });
    site.server().Get("/twice", [&receiverDone](const httplib::Request &, httplib::Response &res) {
        res.set_chunked_content_provider("text/html", [&receiverDone](size_t offset, httplib::DataSink &sink) {
            if (offset == 200) {
                sink.done();
                return true;
            }
            if (offset > 0)
                receiverDone.wait();
            return sink.write(std::string(100, offset ? 'b' : 'a').data(), 100);
        });
    });
    site.start();
    const auto release = qScopeGuard([&] { gate.open = receiverDone.open = true; });
    TimeoutGuard timeout(kTimeoutMs);

    const Fetched mute = fetch(site.url("/mute"), 1024);
    EXPECT_FALSE(mute.opened);

    // Once the server has answered, what arrived before it went silent is kept.
    const Fetched stalls = fetch(site.url("/stalls"), 1024);
    EXPECT_TRUE(stalls.opened);
    EXPECT_EQ(stalls.joined(), QByteArray(100, 'a'));

    // Time the receiver takes over a block is not the server's silence: the server is silent
    // for twice the time-out, all of it while the receiver works, and speaks right after.
    QByteArray got;
    EXPECT_TRUE(ReadUrl(site.url("/twice"), 100, [&](QByteArrayView block) {
        if (got.isEmpty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2 * kTimeoutMs));
            receiverDone.open = true;
        }
        got.append(block);
        return true;
    }));
    EXPECT_EQ(got.toStdString(), std::string(100, 'a') + std::string(100, 'b'));
}

TEST(Internet, DroppedConnectionKeepsWhatArrived)
{
    const std::string body = noise(1500);
    LocalHttpServer site;
    site.server().Get("/drop", [&body](const httplib::Request &, httplib::Response &res) {
        res.set_chunked_content_provider("text/html", [&body](size_t offset, httplib::DataSink &sink) {
            if (offset >= body.size())
                return false;  // breaks the connection off without ending the body
            return sink.write(body.data() + offset, body.size() - offset);
        });
    });
    site.server().Get("/whole", [&body](const httplib::Request &, httplib::Response &res) {
        res.set_content(body, "text/html");
    });
    site.start();
    const Fetched got = fetch(site.url("/drop"), 1024);
    EXPECT_TRUE(got.opened);
    EXPECT_EQ(got.joined(), QByteArray::fromStdString(body));
    ASSERT_EQ(got.blocks.size(), 2);
    EXPECT_EQ(got.blocks[1].size(), 476);

    // The caller can tell a page that broke off from one that arrived whole.
    const auto complete = [](const QString &url, bool keepReading) {
        FetchAnswer answer;
        answer.end = keepReading ? FetchEnd::BrokenOff : FetchEnd::Complete;
        ReadUrl(url, 1024, [keepReading](QByteArrayView) { return keepReading; }, {}, &answer);
        return answer.end == FetchEnd::Complete;
    };
    EXPECT_FALSE(complete(site.url("/drop"), true));
    EXPECT_TRUE(complete(site.url("/whole"), true));
    EXPECT_FALSE(complete(site.url("/whole"), false));  // the receiver stopped it
    const LoopbackListener closed(LoopbackListener::Refusing);
    EXPECT_FALSE(complete(closed.url(), true));
}
