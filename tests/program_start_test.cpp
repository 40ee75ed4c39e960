#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

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
    home.writeFile("UserData/Pelgrandix/Regels.dat", positions);

    QProcess program;
    QProcessEnvironment env = OfflineProgramEnvironment(home.path());
    env.insert("PELGRANDIX_EXIT_AFTER_FIRST_PAINT", "1");
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(home.path());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    program.start(ProgramPath(), {});
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(program.waitForFinished(60000)) << "the program did not end after its first paint";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_LT(clock.elapsed(), 30000);

    EXPECT_EQ(home.readFile("UserData/Pelgrandix/Regels.dat"), positions);
    EXPECT_TRUE(home.readFile("UserData/Pelgrandix/Regels!.dat").isNull()) << "nothing was saved";
    EXPECT_TRUE(home.readFile(".config/Pelgrandix/Pelgrandix.reg").isNull()) << "no settings were written";
    EXPECT_TRUE(home.readFile("tmp.txt").isNull()) << "the probe did not run";
    EXPECT_TRUE(home.readFile("Temp.txt").isNull()) << "no page was fetched";
}

namespace {

// Starts the real program with the given arguments in the home folder, with a ping that answers
// and a quote site that refuses at once, so that the first download writes its page copy (empty)
// in the current folder; waits for that copy, then ends the program. Gives what it wrote on its
// standard error.
QByteArray runUntilPageCopy(const TempHome &home, const QStringList &arguments)
{
    ScriptedPing ping(ScriptedPing::Reply);
    QProcess program;
    QProcessEnvironment env = OfflineProgramEnvironment(home.path());
    env.insert("PELGRANDIX_PING", qEnvironmentVariable("PELGRANDIX_PING"));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(home.path());
    program.start(ProgramPath(), arguments);
    EXPECT_TRUE(program.waitForStarted());
    const bool copied = waitUntil([&] {
        return QFile::exists(home.path() + "/Temp.txt") || QFile::exists(home.dataDir() + "Temp.txt");
    }, 30000);
    EXPECT_TRUE(copied) << "no page copy after 30 s";
    ::kill(program.processId(), SIGTERM);
    EXPECT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    return program.readAllStandardError();
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
        QProcess program;
        program.setProcessEnvironment(OfflineProgramEnvironment(home.path()));
        program.setWorkingDirectory(home.path());
        program.start(ProgramPath(), c.arguments);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitCode(), 64);
        EXPECT_TRUE(program.readAllStandardError().contains(c.message));
        EXPECT_FALSE(QDir(home.path() + "/UserData").exists()) << "nothing was started";
    }
}
