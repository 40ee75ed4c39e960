#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

#include <unistd.h>

#include "support/program_state.h"
#include "support/wait_until.h"
#include "update/process_control.h"
#include "update/update_error.h"
#include "update/update_state.h"

namespace {

// Copies of a real program in two folders, so that each running copy is known by its own
// program file.
class Companions : public ProgramStateTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char *folder : {"home", "elsewhere"}) {
            ASSERT_TRUE(QDir(dir.path()).mkpath(folder));
            const QString copy = dir.filePath(QString::fromLatin1(folder) + "/Pelgrandix_Sched.exe");
            ASSERT_TRUE(QFile::copy("/bin/sleep", copy));
        }
        HomeDir = dir.filePath("home") + QLatin1Char('/');
        homeCopy = CompanionPath("Pelgrandix");
        otherCopy = dir.filePath("elsewhere/Pelgrandix_Sched.exe");
    }

    std::unique_ptr<QProcess> start(const QString &program, const QStringList &arguments = {"60"})
    {
        auto process = std::make_unique<QProcess>();
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted()) << program.toStdString();
        return process;
    }

    static bool ended(QProcess &process) { return process.waitForFinished(kPatienceMs); }

    QTemporaryDir dir;
    QString homeCopy, otherCopy;
};

} // namespace

TEST_F(Companions, NothingRunningGivesZeroAndTerminateRaises)
{
    EXPECT_TRUE(WindowsIsNT());
    EXPECT_EQ(GetpID(homeCopy), 0);
    try {
        TerminateExe(homeCopy);
        ADD_FAILURE() << "no error raised";
    } catch (const UpdateError &error) {
        EXPECT_EQ(error.message(), homeCopy + " is not running, cannot terminate it!");
    }
    // Nothing to stop is done at once.
    EXPECT_TRUE(StopCompanion(homeCopy, {}));
}

TEST_F(Companions, FoundOnTheExactFullPathWithoutSurroundingBlanks)
{
    auto home = start(homeCopy);
    auto other = start(otherCopy);
    EXPECT_EQ(GetpID(homeCopy), home->processId());
    EXPECT_EQ(GetpID(otherCopy), other->processId());
    EXPECT_EQ(GetpID(" \t" + homeCopy + "\r\n"), home->processId());
    // This file system tells the two apart: another program could live at that path.
    EXPECT_EQ(GetpID(homeCopy.toLower()), 0);
    EXPECT_TRUE(StopCompanion(homeCopy.toUpper(), {}));
    EXPECT_EQ(home->state(), QProcess::Running);
    EXPECT_EQ(GetProcessHandleFromExe(homeCopy), home->processId());
    EXPECT_EQ(GetpID(dir.filePath("Pelgrandix_Sched.exe")), 0);
}

TEST_F(Companions, StopEndsTheCompanionAndLeavesACopyElsewhereRunning)
{
    auto home = start(homeCopy);
    auto other = start(otherCopy);
    int eventRuns = 0;
    EXPECT_TRUE(StopCompanion(homeCopy, [&] { ++eventRuns; }));
    EXPECT_TRUE(ended(*home));
    EXPECT_GE(eventRuns, 1);
    EXPECT_EQ(other->state(), QProcess::Running);
    EXPECT_EQ(GetpID(otherCopy), other->processId());
}

TEST_F(Companions, SymbolicLinkInTheCompanionsPlaceIsNotFollowed)
{
    // The companion's name points at another program: that program is none of ours to stop.
    ASSERT_TRUE(QFile::remove(homeCopy));
    ASSERT_TRUE(QFile::link(otherCopy, homeCopy));
    auto other = start(otherCopy);
    EXPECT_EQ(GetpID(homeCopy), 0);
    EXPECT_TRUE(StopCompanion(homeCopy, {}));
    EXPECT_EQ(other->state(), QProcess::Running);
}

TEST_F(Companions, TerminateEndsAProcessThatIgnoresTheRequest)
{
    // The shell hands its ignored termination request on to the program it becomes.
    auto stubborn = start("/bin/sh", {"-c", "trap '' TERM; exec '" + homeCopy + "' 60"});
    waitUntil([this] { return GetpID(homeCopy) != 0; });
    ASSERT_EQ(GetpID(homeCopy), stubborn->processId());

    TerminateExe(homeCopy);
    EXPECT_TRUE(ended(*stubborn));
    EXPECT_EQ(stubborn->exitStatus(), QProcess::CrashExit);
}

TEST_F(Companions, StopGivesUpOnACompanionThatWillNotEnd)
{
    auto home = start(homeCopy);
    int attempts = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(StopCompanion(homeCopy, {}, 300, [&](qint64) { ++attempts; }));
    EXPECT_GE(elapsed.elapsed(), 300);
    EXPECT_LT(elapsed.elapsed(), 10000) << "did not give up";
    EXPECT_GE(attempts, 1);
    EXPECT_EQ(home->state(), QProcess::Running);
}

TEST_F(Companions, AnIdThatNowRunsAnotherProgramIsNotSignalled)
{
    // Found as the companion a moment ago; by the time it is ended, its id runs another program.
    auto other = start(otherCopy);
    TerminateProcessId(other->processId(), homeCopy);
    EXPECT_FALSE(other->waitForFinished(300));
    EXPECT_EQ(other->state(), QProcess::Running);
}

TEST_F(Companions, AnotherUsersCompanionIsNeitherFoundNorStopped)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can start a program as another user";
    // The other user must reach the program file.
    for (const QString &path : {dir.path(), dir.filePath("home"), homeCopy})
        ASSERT_TRUE(QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOther | QFile::ReadOther));
    QProcess theirs;
    theirs.setChildProcessModifier([] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
    });
    theirs.start(homeCopy, {"60"});
    ASSERT_TRUE(theirs.waitForStarted());
    ASSERT_FALSE(theirs.waitForFinished(200)) << "the other user could not run it";
    EXPECT_EQ(GetpID(homeCopy), 0);
    EXPECT_TRUE(StopCompanion(homeCopy, {}));
    TerminateProcessId(theirs.processId(), homeCopy);
    EXPECT_EQ(theirs.state(), QProcess::Running);
    theirs.kill();
    theirs.waitForFinished();
}
