#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/connectivity_probe.h"
#include "support/local_http_server.h"
#include "support/loopback_listener.h"
#include "support/scoped_env.h"
#include "support/scripted_ping.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// The probe runs in a folder of its own with a scripted ping.
class Probe : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScopedCurrentDir cwd{dir.path()};
    ScriptedPing ping;
};

} // namespace

TEST_F(Probe, ThirdLineDecidesBothJudgements)
{
    struct Case { const char *output; const char *third; bool market, update; };
    const Case cases[] = {
        {"\r\nPinging h [10.0.0.1] with 32 bytes of data:\r\n"
         "Reply from 10.0.0.1: bytes=32 time=1ms TTL=64\r\n\r\nstatistics\r\n",
         "Reply from 10.0.0.1: bytes=32 time=1ms TTL=64", true, true},
        {"\nPinging h [10.0.0.1] with 32 bytes of data:\nTime-out bij opdracht.\n\n",
         "Time-out bij opdracht.", false, false},
        {"\nPinging h\nAanvraag: time-out.\n", "Aanvraag: time-out.", true, true},
        {"\nPinging h\nReply without line end", "Reply without line end", true, true},
        {"\nPing-aanvraag kan host h niet vinden.\n", "", false, true},
        {"\n", "", false, true},
        {"", "", false, true},
        {"\n\n\nfourth\n", "", false, true},
    };
    for (const Case &c : cases) {
        ping.prints(c.output);
        const ProbeResult probe = RunConnectivityProbe("h");
        EXPECT_EQ(probe.thirdLine, QString::fromUtf8(c.third)) << c.output;
        EXPECT_FALSE(probe.timedOut);
        EXPECT_EQ(MarketProbePassed(probe), c.market) << c.output;
        EXPECT_EQ(UpdateProbePassed(probe), c.update) << c.output;
        EXPECT_FALSE(QFile::exists(dir.filePath("tmp.txt"))) << c.output;
    }
}

TEST_F(Probe, PingGetsTheHostAndOneRequestOf100Ms)
{
    ping.prints("\n\nReply\n");
    RunConnectivityProbe("127.0.0.1:8470");
    EXPECT_EQ(ping.lastArguments(), "[127.0.0.1:8470][-n][1][-w][100]");

    // A host is one argument, whatever it holds; nothing of it runs as a command.
    RunConnectivityProbe("a b;touch pwned");
    EXPECT_EQ(ping.lastArguments(), "[a b;touch pwned][-n][1][-w][100]");
    EXPECT_FALSE(QFile::exists(dir.filePath("pwned")));
}

TEST_F(Probe, OutputIsReadThroughTheFileTheProbeMadeAndNoFileFailsTheMarketProbeOnly)
{
    // What stands at the output's name after the ping ran is not read: in a folder that others
    // may write to, it could be anything, a pipe without a writer among them.
    struct Case { const char *name; const char *before; const char *meanwhile; const char *third; };
    const Case cases[] = {
        {"the name removed", "", "rm -f tmp.txt", "Reply from x"},
        {"a pipe put at the name", "", "rm -f tmp.txt; mkfifo tmp.txt", "Reply from x"},
        {"another file put at the name", "", "rm -f tmp.txt; echo other > tmp.txt", "Reply from x"},
        {"no file can be made at the name", "ln -s /nonexistent/x tmp.txt", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(std::system(c.before), 0);
        ping.runs(QByteArray(c.meanwhile) + "\nprintf '\\n\\nReply from x\\n'\n");
        QElapsedTimer clock;
        clock.start();
        const ProbeResult probe = RunConnectivityProbe("h");
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(probe.thirdLine, c.third);
        EXPECT_EQ(MarketProbePassed(probe), !probe.thirdLine.isEmpty());
        EXPECT_TRUE(UpdateProbePassed(probe));
        QFile::remove(dir.filePath("tmp.txt"));
    }
}

TEST_F(Probe, HungPingFailsBothJudgements)
{
    // What it printed before hanging would pass; a ping that does not end says nothing.
    ping.runs("printf '\\nPinging h\\nReply from h\\n'\nsleep 30\n");
    QElapsedTimer clock;
    clock.start();
    const ProbeResult probe = RunConnectivityProbe("h", 300);
    EXPECT_LT(clock.elapsed(), 10000) << "waited for the ping to end by itself";
    EXPECT_TRUE(probe.timedOut);
    EXPECT_EQ(probe.thirdLine, "");
    EXPECT_FALSE(MarketProbePassed(probe));
    EXPECT_FALSE(UpdateProbePassed(probe));
    EXPECT_FALSE(QFile::exists(dir.filePath("tmp.txt")));
}

TEST(ConnectivityProbe, BuiltPingBesideTheProgramJudgesARealPort)
{
    QTemporaryDir dir;
    ScopedCurrentDir cwd{dir.path()};
    ScopedEnv noComSpec{"COMSPEC", std::nullopt};
    ScopedEnv noPing{"PELGRANDIX_PING", std::nullopt};
    ASSERT_TRUE(QFile::exists(PingProgram())) << PingProgram().toStdString();

    LocalHttpServer site;
    site.start();
    const ProbeResult up = RunConnectivityProbe(QString::fromLatin1(site.host()));
    EXPECT_TRUE(up.thirdLine.startsWith("Reply from 127.0.0.1")) << up.thirdLine.toStdString();
    EXPECT_TRUE(MarketProbePassed(up));

    const LoopbackListener closed(LoopbackListener::Refusing);
    const ProbeResult down = RunConnectivityProbe(QString::fromLatin1(closed.host()));
    EXPECT_EQ(down.thirdLine, "Time-out bij opdracht.");
    EXPECT_FALSE(MarketProbePassed(down));
    EXPECT_FALSE(UpdateProbePassed(down));
    EXPECT_FALSE(QFile::exists(dir.filePath("tmp.txt")));
}
