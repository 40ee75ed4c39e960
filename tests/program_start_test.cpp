#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <csignal>

#include "support/offline_program.h"
#include "support/scripted_ping.h"
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
    home.writeDataFile("Regels.dat", positions);

    OfflineProgram program(home.path());
    program.environment().insert("PELGRANDIX_EXIT_AFTER_FIRST_PAINT", "1");
    program.process().setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.process().waitForFinished(kPatienceMs)) << "the program did not end after its first paint";
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 0);

    EXPECT_EQ(home.readDataFile("Regels.dat"), positions);
    EXPECT_TRUE(home.readDataFile("Regels!.dat").isNull()) << "nothing was saved";
    EXPECT_TRUE(home.readFile(TempHome::kSettingsFile).isNull()) << "no settings were written";
    EXPECT_EQ(program.ping().runCount(), 0) << "the first download did not start";
    EXPECT_TRUE(home.readFile("Temp.txt").isNull()) << "no page was fetched";
}

namespace {

// Starts the real program with the given arguments in the home folder, with a ping that answers
// and a quote site that refuses at once, so that the first download writes its page copy (empty)
// in the current folder; waits for that copy, then ends the program. Gives what it wrote on its
// standard error.
QByteArray runUntilPageCopy(const TempHome &home, const QStringList &arguments)
{
    OfflineProgram program(home.path());
    program.ping().answer(ScriptedPing::Reply);
    EXPECT_TRUE(program.start(arguments));
    const bool copied = waitUntil([&] {
        return QFile::exists(home.path() + "/Temp.txt") || QFile::exists(home.dataDir() + "Temp.txt");
    });
    EXPECT_TRUE(copied) << "no page copy";
    EXPECT_TRUE(program.endWith(SIGTERM));
    EXPECT_EQ(program.process().exitCode(), 0);
    return program.process().readAllStandardError();
}

} // namespace

// Started from the desktop menu the program is in the home folder; the menu entry's switch
// keeps its page copy and probe output in the data folder, created when missing.
TEST(ProgramStart, PageCopyAndProbeOutputStayInTheFolderTheProgramRunsIn)
{
    struct Case {
        QStringList arguments;
        bool dataFolderBlocked;
        bool inDataFolder;
    };
    const Case cases[] = {
        {{}, false, false},
        {{"--in-data-folder"}, false, true},
        // Qt's own options are the toolkit's business, not an unknown argument.
        {{"-platform", "offscreen", "--in-data-folder"}, false, true},
        // A data folder that cannot be made leaves the program where it was started.
        {{"--in-data-folder"}, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + (c.dataFolderBlocked ? " (blocked)" : ""));
        TempHome home;
        if (c.dataFolderBlocked)
            home.writeFile("UserData", "a file where the data folder's parent would be");
        const QByteArray errors = runUntilPageCopy(home, c.arguments);

        const QString expected = c.inDataFolder ? home.dataDir() : home.path() + "/";
        const QString other = c.inDataFolder ? home.path() + "/" : home.dataDir();
        EXPECT_TRUE(QFile::exists(expected + "Temp.txt"));
        EXPECT_FALSE(QFile::exists(other + "Temp.txt"));
        EXPECT_FALSE(QFile::exists(expected + "tmp.txt")) << "the probe cleans up where it wrote";
        EXPECT_EQ(errors.contains("cannot enter the data folder"), c.dataFolderBlocked) << errors.toStdString();
    }
}

TEST(ProgramStart, RefusesArgumentsItDoesNotKnowBeforeDoingAnything)
{
    struct Case {
        QStringList arguments;
        QByteArray message;
    };
    const Case cases[] = {
        {{"--raport"}, "pelgrandix: Unknown option 'raport'."},
        {{"Regels.dat"}, "pelgrandix: Unexpected argument 'Regels.dat'."},
        {{"--in-data-folder", "-x"}, "pelgrandix: Unknown option 'x'."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        TempHome home;
        OfflineProgram program(home.path());
        ASSERT_TRUE(program.start(c.arguments));
        ASSERT_TRUE(program.process().waitForFinished(kPatienceMs));
        EXPECT_EQ(program.process().exitCode(), 64);
        EXPECT_TRUE(program.process().readAllStandardError().contains(c.message));
        EXPECT_FALSE(QDir(home.path() + "/UserData").exists()) << "nothing was started";
    }
}

TEST(ProgramStart, AWindowWithoutADisplaySaysSoInsteadOfAborting)
{
    TempHome home;
    OfflineProgram program(home.path());
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        program.environment().remove(QLatin1String(name));
    ASSERT_TRUE(program.start({}));
    ASSERT_TRUE(program.process().waitForFinished(kPatienceMs));
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 1);
    EXPECT_TRUE(program.process().readAllStandardError().contains("pelgrandix: Geen beeldscherm gevonden"));
    EXPECT_FALSE(QDir(home.path() + "/UserData").exists()) << "nothing was started";
}

// Two windows on one data folder would each save their own list at their close, over what the
// other had saved: the second is refused while the first is open, and a lock left behind by a
// window that ended without letting go does not keep the next one out.
TEST(ProgramStart, ASecondWindowOnTheSameDataFolderIsRefused)
{
    TempHome home;
    const QByteArray positions = "AEX; Call; mrt; 2013; 380; 1,00; 1,00; 1; 0,00; 0\r\n";
    home.writeDataFile("Regels.dat", positions);
    OfflineProgram first(home.path());
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(first.waitUntilReady());

    OfflineProgram second(home.path());
    ASSERT_TRUE(second.start());
    QByteArray told;
    EXPECT_TRUE(waitUntil([&] {
        second.process().waitForReadyRead(10);
        told += second.process().readAllStandardError();
        return told.contains("pelgrandix: Pelgrandix is al geopend.");
    })) << told.toStdString();
    second.process().kill();  // it waits for the message to be read
    second.process().waitForFinished(kPatienceMs);
    EXPECT_EQ(second.ping().runCount(), 0) << "the second window did not start its download";

    EXPECT_TRUE(first.endWith(SIGTERM));
    EXPECT_EQ(home.readDataFile("Regels.dat"), positions);

    // As a window that was killed leaves it: its process is gone.
    home.writeDataFile("Pelgrandix.lock", "999999999\npelgrandix\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    OfflineProgram next(home.path());
    ASSERT_TRUE(next.start());
    EXPECT_TRUE(next.waitUntilReady()) << next.process().readAllStandardError().toStdString();
    EXPECT_TRUE(next.endWith(SIGTERM));
}
