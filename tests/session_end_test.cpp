#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <atomic>
#include <csignal>

#include "support/hostile_inputs.h"
#include "support/local_http_server.h"
#include "support/offline_program.h"
#include "support/temp_home.h"
#include "support/wait_until.h"

// The session manager ends the program with a signal; the main window must close the ordinary
// way and save the positions, exactly as when the user closes it.
TEST(SessionEnd, SignalsCloseTheWindowAndSaveThePositions)
{
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        TempHome home;
        const QByteArray positions = "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0\r\n";
        home.writeFile("UserData/Pelgrandix/Regels.dat", positions);

        QProcess program;
        QProcessEnvironment env = OfflineProgramEnvironment(home.path());
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(home.path());
        program.start(ProgramPath(), {});
        ASSERT_TRUE(program.waitForStarted());
        QThread::msleep(1500);
        ::kill(program.processId(), signalNumber);
        ASSERT_TRUE(program.waitForFinished(10000)) << "signal " << signalNumber;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(home.readFile("UserData/Pelgrandix/Regels.dat"), positions);
        EXPECT_EQ(home.readFile("UserData/Pelgrandix/Regels!.dat"), positions)
            << "the close saved, so the file before it became the first backup";
    }
}

// While the program waits on a quote site that sends a byte now and then, or on a ping that
// hangs, its event loop does not run; a signal must still end it within seconds, saving as ever.
TEST(SessionEnd, SignalEndsTheProgramWhileAFetchOrTheProbeWaits)
{
    std::atomic<int> pageRequests = 0;
    LocalHttpServer site;
    site.server().Get("/derivaten/opties/", [&](const httplib::Request &req, httplib::Response &res) {
        ++pageRequests;
        trickle()(req, res);
    });
    site.start();
    const QByteArray reply = "printf '\\nPinging x:\\nReply from 127.0.0.1: bytes=32 time<1ms TTL=64\\n'\n";
    struct Case { const char *name; QByteArray ping; bool waitsOnThePage; };
    const Case cases[] = {{"page trickles", reply, true}, {"ping hangs", "exec sleep 60\n", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        const QByteArray positions = "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0\r\n";
        home.writeFile("UserData/Pelgrandix/Regels.dat", positions);
        home.writeFile("ping", "#!/bin/sh\ntouch pinged\n" + c.ping);
        QFile::setPermissions(home.path() + "/ping", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        pageRequests = 0;

        QProcess program;
        QProcessEnvironment env = OfflineProgramEnvironment(home.path());
        env.insert("PELGRANDIX_PING", home.path() + "/ping");
        env.insert("PELGRANDIX_QUOTE_HOST", QStringLiteral("127.0.0.1:%1").arg(site.port()));
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(home.path());
        program.start(ProgramPath(), {});
        ASSERT_TRUE(program.waitForStarted());
        ASSERT_TRUE(waitUntil([&] {
            return c.waitsOnThePage ? pageRequests > 0 : QFile::exists(home.path() + "/pinged");
        }, 20000));
        QThread::msleep(200);  // well inside the wait
        QElapsedTimer clock;
        clock.start();
        ::kill(program.processId(), SIGTERM);
        ASSERT_TRUE(program.waitForFinished(40000));
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(home.readFile("UserData/Pelgrandix/Regels.dat"), positions);
        EXPECT_EQ(home.readFile("UserData/Pelgrandix/Regels!.dat"), positions);
    }
}
