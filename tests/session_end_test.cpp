#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <csignal>

#include "support/offline_program.h"
#include "support/quote_site.h"
#include "support/server_answers.h"
#include "support/temp_home.h"
#include "support/wait_until.h"

// The session manager ends the program with a signal; the main window must close the ordinary
// way and save the positions and the settings, exactly as when the user closes it.

namespace {

const QByteArray kPositions = "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00; 0\r\n";

} // namespace

TEST(SessionEnd, SignalsCloseTheWindowAndSaveThePositions)
{
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        TempHome home;
        home.writeDataFile("Regels.dat", kPositions);
        OfflineProgram program(home.path());
        ASSERT_TRUE(program.start());
        ASSERT_TRUE(program.waitUntilReady());
        ASSERT_TRUE(program.endWith(signalNumber));
        EXPECT_EQ(program.process().exitCode(), 0);
        EXPECT_EQ(home.readDataFile("Regels.dat"), kPositions);
        EXPECT_EQ(home.readDataFile("Regels!.dat"), kPositions)
            << "the close saved, so the file before it became the first backup";
    }
}

TEST(SessionEnd, SettingsAreWrittenAtTheEnd)
{
    TempHome home;
    OfflineProgram program(home.path());
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.waitUntilReady());
    EXPECT_TRUE(home.readFile(TempHome::kSettingsFile).isNull()) << "written only at the end";
    ASSERT_TRUE(program.endWith(SIGTERM));
    EXPECT_EQ(program.process().exitCode(), 0);
    // The list's width is what the layout made of it, whatever the fonts.
    const QString written = QString::fromLatin1(home.readFile(TempHome::kSettingsFile))
                                .replace(QRegularExpression("\"Splitter\"=dword:[0-9a-f]{8}\n"), "<splitter>");
    EXPECT_EQ(written,
              "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Pelgrandix\\Defaults]\n"
              "\"Aantal jaren\"=dword:00000001\n\"Aantal minuten\"=dword:0000000f\n"
              "\"Dividendrendement\"=\"3,00\"\n\"DownloadTimer\"=\"1\"\n"
              "\"Height\"=dword:0000014a\n\"Indexsite\"=\"\"\n\"Left\"=dword:00000064\n"
              "\"Makersite\"=\"\"\n\"Marginpercentage\"=\"7,50\"\n\"Meldingen\"=\"1\"\n\"Optiesite\"=\"\"\n"
              "\"Overzicht Height\"=dword:000001cc\n\"Overzicht Left\"=dword:0000008c\n"
              "\"Overzicht Top\"=dword:0000008c\n\"Overzicht Width\"=dword:00000410\n"
              "\"Rente\"=\"2,00\"\n<splitter>"
              "\"Top\"=dword:00000064\n\"Updates Aan\"=\"1\"\n\"Width\"=dword:000002f8\n\n");
    EXPECT_FALSE(program.process().readAllStandardError().contains("Instellingen"));
}

TEST(SessionEnd, SettingsThatCannotBeWrittenAreReported)
{
    // A file where the settings folder would be made: no user, root included, can write there.
    TempHome home;
    home.writeFile(".config/Pelgrandix", "in the way");
    OfflineProgram program(home.path());
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.waitUntilReady());
    ASSERT_TRUE(program.endWith(SIGTERM)) << "a session end waits for nobody";
    EXPECT_EQ(program.process().exitCode(), 0);
    const QString errors = QString::fromLocal8Bit(program.process().readAllStandardError());
    EXPECT_TRUE(errors.contains("Instellingen niet opgeslagen")) << errors.toStdString();
    EXPECT_TRUE(errors.contains(home.settingsFile())) << errors.toStdString();
    EXPECT_EQ(home.readFile(".config/Pelgrandix"), "in the way");
}

// While the program waits on a quote site that sends a byte now and then, or on a ping that
// hangs, its event loop does not run; a signal must still end it within seconds, saving as ever.
TEST(SessionEnd, SignalEndsTheProgramWhileAFetchOrTheProbeWaits)
{
    QuoteSite site;
    site.answer(QuoteSite::Calls, trickle());
    for (const bool waitsOnThePage : {true, false}) {
        SCOPED_TRACE(waitsOnThePage ? "page trickles" : "ping hangs");
        TempHome home;
        home.writeDataFile("Regels.dat", kPositions);
        OfflineProgram program(home.path());
        program.environment().insert("PELGRANDIX_QUOTE_HOST", QString::fromLatin1(site.host()));
        if (waitsOnThePage)
            program.ping().answer(ScriptedPing::Reply);
        else
            program.ping().runs("exec sleep 60\n");
        const int pageRequests = site.requests(QuoteSite::Calls);
        ASSERT_TRUE(program.start());
        // In the wait: the page was asked for, or the ping runs.
        ASSERT_TRUE(waitsOnThePage ? waitUntil([&] { return site.requests(QuoteSite::Calls) > pageRequests; })
                                   : program.waitUntilReady());
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(program.endWith(SIGTERM));
        // The page would hold the program for its thirty-second deadline, the ping for a minute.
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_EQ(home.readDataFile("Regels.dat"), kPositions);
        EXPECT_EQ(home.readDataFile("Regels!.dat"), kPositions);
    }
}
