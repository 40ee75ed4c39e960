#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QRegularExpression>

#include <csignal>

#include "support/offline_program.h"
#include "support/temp_home.h"

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
        home.writeFile("UserData/Pelgrandix/Regels.dat", kPositions);
        OfflineProgram program(home.path());
        ASSERT_TRUE(program.start());
        ASSERT_TRUE(program.waitUntilReady());
        ASSERT_TRUE(program.endWith(signalNumber));
        EXPECT_EQ(program.process().exitCode(), 0);
        EXPECT_EQ(home.readFile("UserData/Pelgrandix/Regels.dat"), kPositions);
        EXPECT_EQ(home.readFile("UserData/Pelgrandix/Regels!.dat"), kPositions)
            << "the close saved, so the file before it became the first backup";
    }
}

