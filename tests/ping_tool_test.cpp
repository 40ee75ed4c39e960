#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "connect_any.h"
#include "support/local_http_server.h"
#include "support/loopback_listener.h"
#include "support/wait_until.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

#include <netdb.h>
#include <netinet/in.h>

#include <vector>

namespace {

struct PingRun {
    int exitCode = -1;
    QStringList lines;  // the output cut at its line ends, the last (empty) piece dropped
    QByteArray errors;
    qint64 ms = 0;
};

PingRun ping(const QStringList &arguments)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(PELGRANDIX_BIN_DIR "/pelgrandix-ping"), arguments);
    EXPECT_TRUE(process.waitForFinished(kPatienceMs)) << arguments.join(' ').toStdString();
    PingRun run;
    run.ms = clock.elapsed();
    run.exitCode = process.exitCode();
    run.errors = process.readAllStandardError();
    const QString output = QString::fromLatin1(process.readAllStandardOutput());
    run.lines = output.split(QLatin1Char('\n'));
    if (!run.lines.isEmpty() && run.lines.last().isEmpty())
        run.lines.removeLast();
    return run;
}

QString target(int port)
{
    return QString::fromLatin1(LoopbackHost(port));
}

} // namespace

TEST(PingTool, OpenPortGivesAReplyAsTheThirdLine)
{
    LocalHttpServer site;
    site.start();
    const QStringList orders[] = {
        {target(site.port()), "-n", "1", "-w", "500"},
        {"-w", "500", "-n", "4", target(site.port())},
    };
    for (const QStringList &arguments : orders) {
        const PingRun run = ping(arguments);
        ASSERT_EQ(run.lines.size(), 5) << run.lines.join('|').toStdString();
        EXPECT_EQ(run.lines[0], "");
        EXPECT_EQ(run.lines[1], "Pinging 127.0.0.1 [127.0.0.1] with 32 bytes of data:");
        EXPECT_TRUE(QRegularExpression("^Reply from 127\\.0\\.0\\.1: bytes=32 time=\\d+ms TTL=64$")
                        .match(run.lines[2]).hasMatch()) << run.lines[2].toStdString();
        EXPECT_EQ(run.lines[3], "");
        EXPECT_TRUE(run.lines[4].contains("Received = 1")) << run.lines[4].toStdString();
        EXPECT_EQ(run.exitCode, 0);
    }
}

TEST(PingTool, NoConnectionIsATimeOut)
{
    const LoopbackListener closed(LoopbackListener::Refusing);
    const LoopbackListener full(LoopbackListener::Full);
    struct Case { int port; qint64 atLeastMs; };
    const Case cases[] = {{closed.port(), 0}, {full.port(), 300 * 95 / 100}};
    for (const Case &c : cases) {
        const PingRun run = ping({target(c.port), "-n", "1", "-w", "300"});
        ASSERT_GE(run.lines.size(), 3);
        EXPECT_EQ(run.lines[1], "Pinging 127.0.0.1 [127.0.0.1] with 32 bytes of data:");
        EXPECT_EQ(run.lines[2], "Time-out bij opdracht.");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_GE(run.ms, c.atLeastMs);
        // Without the limit the system gives up a hanging connection only after minutes.
        EXPECT_LT(run.ms, 10000) << "the -w limit was not kept";
    }
}

TEST(PingTool, EveryAddressOfANameIsTriedWithinTheTimeLimit)
{
    // A name can give an address first where nothing answers (localhost as ::1, while the site
    // listens on 127.0.0.1 only) or where the connection is never taken.
    LocalHttpServer site;
    site.start();
    const LoopbackListener silent(LoopbackListener::Full);
    const LoopbackListener refusing(LoopbackListener::Refusing);
    const int refused = refusing.port();
    constexpr int kLimitMs = 3000;
    struct Case { const char *name; std::vector<int> ports; int answering; };
    const Case cases[] = {
        {"refusing address first", {refused, site.port()}, 1},
        {"silent address first", {silent.port(), refused, site.port()}, 2},
        {"no address answers", {silent.port(), refused}, -1},
    };
    for (const Case &c : cases) {
        std::vector<sockaddr_in> addresses(c.ports.size());
        std::vector<addrinfo> list(c.ports.size());
        for (size_t i = 0; i < c.ports.size(); ++i) {
            addresses[i].sin_family = AF_INET;
            addresses[i].sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            addresses[i].sin_port = htons(uint16_t(c.ports[i]));
            list[i].ai_family = AF_INET;
            list[i].ai_socktype = SOCK_STREAM;
            list[i].ai_addr = reinterpret_cast<sockaddr *>(&addresses[i]);
            list[i].ai_addrlen = sizeof(sockaddr_in);
            list[i].ai_next = i + 1 < list.size() ? &list[i + 1] : nullptr;
        }
        QElapsedTimer clock;
        clock.start();
        const addrinfo *made = FirstToConnect(list.data(), kLimitMs);
        EXPECT_EQ(made, c.answering < 0 ? nullptr : &list[size_t(c.answering)]) << c.name;
        // An answering address is taken before the silent one's limit is spent; without one,
        // the limit ends the wait once.
        if (c.answering < 0)
            EXPECT_LT(clock.elapsed(), 2 * kLimitMs) << c.name;
        else
            EXPECT_LT(clock.elapsed(), kLimitMs * 95 / 100) << c.name;
    }
}

TEST(PingTool, UnknownHostLeavesNoThirdLine)
{
    const PingRun run = ping({kUnresolvableHost, "-n", "1", "-w", "100"});
    ASSERT_EQ(run.lines.size(), 2) << run.lines.join('|').toStdString();
    EXPECT_EQ(run.lines[0], "");
    EXPECT_TRUE(run.lines[1].startsWith(QString("Ping-aanvraag kan host %1 niet vinden.").arg(kUnresolvableHost)));
    EXPECT_EQ(run.exitCode, 1);
}

TEST(PingTool, UnusableArgumentsPrintNothingToTheOutput)
{
    const QStringList cases[] = {
        {}, {"-n", "1"}, {"h", "-w"}, {"h", "-w", "x"}, {"h", "-w", "-5"}, {"h:0"},
        {"h:70000"}, {"h:"}, {"h:8o"}, {"h", "extra"}, {"h", "-t"}, {"[::1"},
    };
    for (const QStringList &arguments : cases) {
        const PingRun run = ping(arguments);
        EXPECT_TRUE(run.lines.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_FALSE(run.errors.isEmpty()) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, 1) << arguments.join(' ').toStdString();
    }
}
