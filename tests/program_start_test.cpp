#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "support/offline_program.h"
#include "support/temp_home.h"
#include "support/wait_until.h"

// The measuring aid that the start-up benchmark relies on: with PELGRANDIX_EXIT_AFTER_FIRST_PAINT
// set, the real program shows its window, paints it once and ends by itself, without starting the
// first download and without saving positions or settings (the window is not closed, and the
// program ends right after that paint, before its windows take leave).
TEST(ProgramStart, EndsByItselfAfterTheFirstPaintWhenAskedAndSavesNothing)
{
    TempHome home;
    QByteArray positions;
    for (int i = 0; i < 1000; ++i)
        positions += "AEX; Call; mrt; 2013; " + QByteArray::number(300 + i) + "; 1,00; 1,00; 1; 0,00; 0\r\n";
    home.writeFile("UserData/Pelgrandix/Regels.dat", positions);

    OfflineProgram program(home.path());
    program.environment().insert("PELGRANDIX_EXIT_AFTER_FIRST_PAINT", "1");
    program.process().setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.process().waitForFinished(kPatienceMs)) << "the program did not end after its first paint";
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 0);

    EXPECT_EQ(home.readFile("UserData/Pelgrandix/Regels.dat"), positions);
    EXPECT_TRUE(home.readFile("UserData/Pelgrandix/Regels!.dat").isNull()) << "nothing was saved";
    EXPECT_TRUE(home.readFile(".config/Pelgrandix/Pelgrandix.reg").isNull()) << "no settings were written";
    EXPECT_EQ(program.ping().runCount(), 0) << "the first download did not start";
    EXPECT_TRUE(home.readFile("Temp.txt").isNull()) << "no page was fetched";
}
