#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>

#include "support/offline_program.h"
#include "support/temp_home.h"

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
