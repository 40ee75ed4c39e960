#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/shell_command.h"
#include "support/files.h"
#include "support/scoped_env.h"
#include "support/wait_until.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {

void writeScript(const QString &path, const QByteArray &body)
{
    ASSERT_TRUE(writeFile(path, "#!/bin/sh\n" + body,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

// Alive means running: a process that is gone or only waits to be reaped counts as dead.
bool processAlive(qint64 pid)
{
    const QByteArray text = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    if (text.isNull())
        return false;
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) != "Z";
}

class ShellCommand : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    ScopedCurrentDir cwd{dir.path()};
    ScopedEnv noComSpec{"COMSPEC", std::nullopt};
};

} // namespace

TEST_F(ShellCommand, ReturnsTheInterpretersExitCode)
{
    struct Case { const char *line; int code; };
    const Case cases[] = {
        {"/bin/sh -c exit 0", 0},
        {"/bin/sh -c exit 3", 3},
        {"/bin/sh -c exit 255", 255},
        {"/bin/sh -c false", 1},
        {"/bin/sh", 0},                    // no switch: reads its empty input and ends
        {"/bin/sh -c kill -9 $$", -1},     // ended by a signal: no exit code
    };
    for (const Case &c : cases)
        EXPECT_EQ(WinExecAndWait(QString::fromUtf8(c.line), kShowHidden), c.code) << c.line;
}

TEST_F(ShellCommand, InterpreterThatCannotBeStartedGivesMinusOne)
{
    EXPECT_EQ(WinExecAndWait(dir.filePath("missing") + " /C exit 0", kShowHidden), -1);
    EXPECT_EQ(WinExecAndWait(QString(), kShowHidden), -1);
    writeScript(dir.filePath("plain"), "exit 0\n");
    QFile::setPermissions(dir.filePath("plain"), QFileDevice::ReadOwner);
    EXPECT_EQ(WinExecAndWait(dir.filePath("plain") + " -c x", kShowHidden), -1);

    ScopedEnv comSpec{"COMSPEC", dir.filePath("missing").toLocal8Bit()};
    const CommandResult result = ExecuteShellCommand("exit 0", true);
    EXPECT_EQ(result.exitCode, -1);
    EXPECT_FALSE(result.timedOut);
}

TEST_F(ShellCommand, WithoutComSpecShRunsTheCommandInTheCurrentFolder)
{
    const CommandResult result = ExecuteShellCommand("echo hi > out.txt; exit 4", true);
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(readFile(dir.filePath("out.txt")), "hi\n");
}

TEST_F(ShellCommand, ComSpecGetsTheSwitchAndTheWholeCommandAsOneArgument)
{
    // A folder with a space, so the interpreter's path needs quoting on the command line.
    QDir(dir.path()).mkdir("with space");
    const QString recorder = dir.filePath("with space/record");
    writeScript(recorder, "for a in \"$@\"; do printf '[%s]' \"$a\"; done > args.txt\nexit 9\n");
    ScopedEnv comSpec{"COMSPEC", recorder.toLocal8Bit()};

    const CommandResult result = ExecuteShellCommand("ping  host -n 1 > 'tmp file'", true);
    EXPECT_EQ(result.exitCode, 9);
    EXPECT_EQ(readFile(dir.filePath("args.txt")), "[/C][ping  host -n 1 > 'tmp file']");
}

TEST_F(ShellCommand, CommandGoesWholeUpToAZeroCharacter)
{
    const QString recorder = dir.filePath("rec");
    writeScript(recorder, "printf '%s' \"$2\" > arg.txt\n");
    ScopedEnv comSpec{"COMSPEC", recorder.toLocal8Bit()};

    // A program installed under a long path: its probe command must keep the redirection at
    // its end, however long it gets.
    const QString longCommand = QString(5000, 'x') + " -n 1 -w 100 > tmp.txt";
    ExecuteShellCommand(longCommand, true);
    EXPECT_EQ(readFile(dir.filePath("arg.txt")), longCommand.toLatin1());

    ExecuteShellCommand(QString("abc") + QChar(0) + "def", true);
    EXPECT_EQ(readFile(dir.filePath("arg.txt")), "abc");

    // One longer than the system passes on to a program is not run at all, rather than cut.
    EXPECT_EQ(ExecuteShellCommand(QString(4 * 1024 * 1024, 'y'), true).exitCode, -1);
    EXPECT_EQ(readFile(dir.filePath("arg.txt")), "abc");
}

TEST_F(ShellCommand, HungInterpreterIsStoppedWithWhatItStarted)
{
    QElapsedTimer clock;
    clock.start();
    const CommandResult result = ExecuteShellCommand("sleep 30 & echo $! > child.pid; wait", true, 300);
    EXPECT_LT(clock.elapsed(), 10000) << "waited for the interpreter to end by itself";
    EXPECT_TRUE(result.timedOut);
    EXPECT_EQ(result.exitCode, -1);

    const qint64 child = readFile(dir.filePath("child.pid")).trimmed().toLongLong();
    ASSERT_GT(child, 0);
    EXPECT_TRUE(waitUntil([child] { return !processAlive(child); })) << "the interpreter's child outlived it";

    EXPECT_EQ(WinExecAndWait("/bin/sh -c sleep 30", kShowHidden, 200), -1);
}

TEST_F(ShellCommand, ShellWordReachesTheCommandUnchanged)
{
    const char *texts[] = {"plain", "/usr/bin/x-y_z.1:8470", "a b", "it's", "$HOME", "`id`",
                           "a;b|c&d", "*", "\"q\"", "", "x\\y"};
    for (const char *text : texts) {
        QFile::remove(dir.filePath("out.txt"));
        ExecuteShellCommand("printf '%s' " + ShellWord(QString::fromUtf8(text)) + " > out.txt", true);
        const QByteArray out = readFile(dir.filePath("out.txt"));
        EXPECT_FALSE(out.isNull()) << text;
        EXPECT_EQ(out, QByteArray(text)) << text;
    }
    EXPECT_EQ(ShellWord("127.0.0.1:8470"), "127.0.0.1:8470");
}
