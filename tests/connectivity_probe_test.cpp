#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/connectivity_probe.h"
#include "support/local_http_server.h"
#include "support/scoped_env.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A ping utility that records its arguments and then runs the given shell text.
class ScriptedPing : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScopedCurrentDir cwd{dir.path()};
    ScopedEnv noComSpec{"COMSPEC", std::nullopt};
    ScopedEnv ping{"PELGRANDIX_PING", dir.filePath("ping").toLocal8Bit()};

    void script(const QByteArray &body)
    {
        QFile file(dir.filePath("ping"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\"; done > \"" +
                   dir.filePath("args.txt").toLocal8Bit() + "\"\n" + body);
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    // Prints the text exactly as given.
    void prints(const QByteArray &output)
    {
        QFile canned(dir.filePath("canned"));
        ASSERT_TRUE(canned.open(QIODevice::WriteOnly | QIODevice::Truncate));
        canned.write(output);
        canned.close();
        script("cat '" + dir.filePath("canned").toLocal8Bit() + "'\n");
    }
};

} // namespace

TEST_F(ScriptedPing, ThirdLineDecidesBothJudgements)
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
        prints(c.output);
        const ProbeResult probe = RunConnectivityProbe("h");
        EXPECT_EQ(probe.thirdLine, QString::fromUtf8(c.third)) << c.output;
        EXPECT_FALSE(probe.timedOut);
        EXPECT_EQ(MarketProbePassed(probe), c.market) << c.output;
        EXPECT_EQ(UpdateProbePassed(probe), c.update) << c.output;
        EXPECT_FALSE(QFile::exists(dir.filePath("tmp.txt"))) << c.output;
    }
}

TEST_F(ScriptedPing, PingGetsTheHostAndOneRequestOf100Ms)
{
    prints("\n\nReply\n");
    RunConnectivityProbe("127.0.0.1:8470");
    EXPECT_EQ(readAll(dir.filePath("args.txt")), "[127.0.0.1:8470][-n][1][-w][100]");

    // A host is one argument, whatever it holds; nothing of it runs as a command.
    RunConnectivityProbe("a b;touch pwned");
    EXPECT_EQ(readAll(dir.filePath("args.txt")), "[a b;touch pwned][-n][1][-w][100]");
    EXPECT_FALSE(QFile::exists(dir.filePath("pwned")));
}

TEST_F(ScriptedPing, MissingOutputFileFailsTheMarketProbeOnly)
{
    script("rm -f tmp.txt\nprintf '\\n\\nReply from x\\n'\n");
    const ProbeResult probe = RunConnectivityProbe("h");
    EXPECT_EQ(probe.thirdLine, "");
    EXPECT_FALSE(MarketProbePassed(probe));
    EXPECT_TRUE(UpdateProbePassed(probe));
}

TEST_F(ScriptedPing, HungPingFailsBothJudgements)
{
    // What it printed before hanging would pass; a ping that does not end says nothing.
    script("printf '\\nPinging h\\nReply from h\\n'\nsleep 30\n");
    QElapsedTimer clock;
    clock.start();
    const ProbeResult probe = RunConnectivityProbe("h", 300);
    EXPECT_LT(clock.elapsed(), 3000);
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
    const ProbeResult up = RunConnectivityProbe(QStringLiteral("127.0.0.1:%1").arg(site.port()));
    EXPECT_TRUE(up.thirdLine.startsWith("Reply from 127.0.0.1")) << up.thirdLine.toStdString();
    EXPECT_TRUE(MarketProbePassed(up));

    const ProbeResult down = RunConnectivityProbe(QStringLiteral("127.0.0.1:%1").arg(UnusedLocalPort()));
    EXPECT_EQ(down.thirdLine, "Time-out bij opdracht.");
    EXPECT_FALSE(MarketProbePassed(down));
    EXPECT_FALSE(UpdateProbePassed(down));
    EXPECT_FALSE(QFile::exists(dir.filePath("tmp.txt")));
}
