#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "positions/positions_file.h"
#include "support/files.h"
#include "support/temp_home.h"
#include "support/unprivileged.h"
#include "support/write_limit.h"

// Saving the positions file under faults: a folder that turns read-only, a disk that fills up
// while the file is written, and a process killed in the middle of a save. After each of them
// the program's next start must find a complete list, and no save may report success that did
// not happen.

namespace {

// Two lists of different lengths, so that a file cut short or mixed from both matches neither.
QStringList positionList(int count, int firstStrike)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("AEX; Call; mrt; 2013; %1; 12,34; 12,34; 1; 0,00; 0").arg(firstStrike + i);
    return lines;
}

struct Files {
    QByteArray current, backup, older;
    bool operator==(const Files &) const = default;
};

Files filesIn(const QString &dir)
{
    return {readFile(positions_file::fileName(dir)), readFile(positions_file::backupName(dir)),
            readFile(positions_file::olderBackupName(dir))};
}

QStringList leftoverTemporaryFiles(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("Regels.*.tmp")}, QDir::Files | QDir::Hidden);
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Runs body in a forked child and gives its exit code, or 128 + the signal that ended it.
int runInChild(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

enum class SaveEnd { Killed, Finished, NoTracing };

// Saves in a child process and kills it at its stop-th system-call stop (each call stops on its
// way in and on its way out), so that every step of a save can be cut off in turn.
SaveEnd saveKilledAtStop(const QString &dir, const QStringList &lines, int stop)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            ::_exit(99);
        ::raise(SIGSTOP);
        positions_file::save(dir, lines);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFSTOPPED(status))
        return SaveEnd::NoTracing;
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    long pendingSignal = 0;
    for (int seen = 0; seen < stop;) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, reinterpret_cast<void *>(pendingSignal));
        ::waitpid(child, &status, 0);
        if (!WIFSTOPPED(status))
            return SaveEnd::Finished;
        const bool systemCall = WSTOPSIG(status) == (SIGTRAP | 0x80);
        pendingSignal = systemCall ? 0 : WSTOPSIG(status);
        seen += systemCall;
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return SaveEnd::Killed;
}

class PositionsFault : public ::testing::Test
{
protected:
    TempHome home;
    const QString dir = home.path() + QStringLiteral("/");
    const QStringList a = positionList(3, 100);
    const QStringList b = positionList(5, 200);
    const QStringList c = positionList(7, 300);

    // Two saves, so that the file and its first backup exist.
    void saveTwoGenerations()
    {
        ASSERT_TRUE(positions_file::save(dir, a).saved);
        ASSERT_TRUE(positions_file::save(dir, b).saved);
    }

    void expectStartFinds(const QStringList &lines)
    {
        const positions_file::LoadResult loaded = positions_file::load(dir);
        EXPECT_TRUE(loaded.complete) << loaded.error.toStdString();
        EXPECT_EQ(loaded.lines, lines);
    }
};

} // namespace

TEST_F(PositionsFault, FullDiskDuringTheWriteChangesNoFileAndSaysWhy)
{
    saveTwoGenerations();
    const Files before = filesIn(dir);
    const qint64 size = positions_file::encode(c).size();
    // Nothing free, one byte, a cut inside the first line, half, and all but the last byte.
    for (qint64 free : {qint64(0), qint64(1), qint64(20), size / 2, size - 1}) {
        SCOPED_TRACE(testing::Message() << free << " of " << size << " bytes free");
        {
            WriteLimit disk(free);
            const positions_file::SaveResult result = positions_file::save(dir, c);
            EXPECT_FALSE(result.saved);
            EXPECT_FALSE(result.skipped);
            EXPECT_EQ(result.error, errorText(ENOSPC));
        }
        EXPECT_TRUE(filesIn(dir) == before) << "a failed save must leave all three files as they were";
        EXPECT_EQ(leftoverTemporaryFiles(dir), QStringList());
        expectStartFinds(b);
    }

    // Once there is room again the save works and the backups rotate as if nothing happened.
    {
        WriteLimit disk(size);
        ASSERT_TRUE(positions_file::save(dir, c).saved) << "exactly enough room is enough";
    }
    EXPECT_EQ(filesIn(dir).current, positions_file::encode(c));
    EXPECT_EQ(filesIn(dir).backup, before.current);
    EXPECT_EQ(filesIn(dir).older, before.backup);
    expectStartFinds(c);
}

TEST_F(PositionsFault, FileSizeLimitOfTheSystemIsMetAsAFailedSave)
{
    // The same fault without the test seam: the system itself refuses to let the file grow.
    saveTwoGenerations();
    const Files before = filesIn(dir);
    const int code = runInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{40, 40};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 3;
        const positions_file::SaveResult result = positions_file::save(dir, c);
        if (result.saved)
            return 1;
        if (result.error != errorText(EFBIG))
            std::fprintf(stderr, "reason given: %s\n", qPrintable(result.error));
        return result.error == errorText(EFBIG) ? 0 : 2;
    });
    EXPECT_EQ(code, 0) << "1: reported as saved, 2: wrong reason";
    EXPECT_TRUE(filesIn(dir) == before);
    EXPECT_EQ(leftoverTemporaryFiles(dir), QStringList());
    expectStartFinds(b);
}

TEST_F(PositionsFault, FolderTurnsReadOnlyBetweenTwoSaves)
{
    saveTwoGenerations();
    // Permissions stop only users other than root, so the saves run as one. Each check that
    // fails returns its own code.
    const QByteArray folder = QFile::encodeName(home.path());
    const bool ok = runAsUnprivilegedUser(home.path(), [&]() -> int {
        if (!positions_file::save(dir, c).saved)
            return 10;  // the folder is still writable here
        const Files before = filesIn(dir);
        ::chmod(folder.constData(), 0555);
        const positions_file::SaveResult refused = positions_file::save(dir, a);
        if (refused.saved || refused.error.isEmpty())
            return 11;
        if (!(filesIn(dir) == before))
            return 12;
        const positions_file::LoadResult loaded = positions_file::load(dir);
        if (!loaded.complete || loaded.lines != c)
            return 13;
        ::chmod(folder.constData(), 0755);
        return positions_file::save(dir, a).saved ? 0 : 14;
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(leftoverTemporaryFiles(dir), QStringList());
    EXPECT_EQ(filesIn(dir).current, positions_file::encode(a));
    EXPECT_EQ(filesIn(dir).backup, positions_file::encode(c));
    EXPECT_EQ(filesIn(dir).older, positions_file::encode(b));
    expectStartFinds(a);
}

// A process that dies in the middle of a save (killed, crashed, power cut after the data had
// reached the disk) must leave the old list or the new one, never a mix, a cut-off file or none.
TEST_F(PositionsFault, KilledAtRandomMomentsOfASaveLeavesOldOrNewList)
{
    const QStringList oldList = positionList(400, 1000);
    const QStringList newList = positionList(650, 5000);
    const QByteArray oldBytes = positions_file::encode(oldList);
    const QByteArray newBytes = positions_file::encode(newList);
    const auto isWholeList = [&](const QByteArray &bytes) { return bytes == oldBytes || bytes == newBytes; };

    // Three saves so that every file exists, timed to spread the kills over whole saves.
    QElapsedTimer clock;
    clock.start();
    for (const QStringList *list : {&oldList, &newList, &oldList})
        ASSERT_TRUE(positions_file::save(dir, *list).saved);
    const qint64 saveMicros = std::max<qint64>(clock.nsecsElapsed() / 3000, 100);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE(testing::Message() << "seed " << seed << ", one save " << saveMicros << " us");
    std::mt19937 random(seed);
    std::uniform_int_distribution<qint64> delay(0, 3 * saveMicros);

    int kills = 0, oldSeen = 0, newSeen = 0;
    QElapsedTimer budget;
    budget.start();
    while (kills < 200 && budget.elapsed() < 20000) {
        // The child first writes the list that is not there now, so each finished save shows.
        const bool startWithNew = readFile(positions_file::fileName(dir)) == oldBytes;
        // The child says when it starts saving, so that the delay is counted from there.
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(30);  // never outlives a parent that failed to kill it
            ::close(ready[0]);
            if (::write(ready[1], "s", 1) != 1)
                ::_exit(1);
            for (bool writeNew = startWithNew;; writeNew = !writeNew)
                positions_file::save(dir, writeNew ? newList : oldList);
        }
        ::close(ready[1]);
        char started = 0;
        const bool childStarted = ::read(ready[0], &started, 1) == 1;
        ::close(ready[0]);
        ::usleep(useconds_t(delay(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ASSERT_TRUE(childStarted);
        ++kills;

        SCOPED_TRACE(testing::Message() << "after kill " << kills);
        const Files files = filesIn(dir);
        ASSERT_TRUE(isWholeList(files.current)) << files.current.size() << " bytes";
        (files.current == oldBytes ? oldSeen : newSeen)++;
        const positions_file::LoadResult loaded = positions_file::load(dir);
        ASSERT_TRUE(loaded.complete);
        ASSERT_TRUE(loaded.lines == oldList || loaded.lines == newList);
        // A backup may be missing for a moment while they rotate; one that is there is whole.
        for (const QString &name : QDir(dir).entryList({QStringLiteral("Regels!*")}, QDir::Files))
            ASSERT_TRUE(isWholeList(readFile(dir + name))) << name.toStdString();
    }
    EXPECT_GE(kills, 50) << "too few kills in the time allowed";
    EXPECT_GT(oldSeen, 0);
    EXPECT_GT(newSeen, 0) << "the child never finished a save: the kills came too early";

    // The next ordinary save puts everything in order again.
    ASSERT_TRUE(positions_file::save(dir, newList).saved);
    ASSERT_TRUE(positions_file::save(dir, oldList).saved);
    EXPECT_EQ(filesIn(dir).current, oldBytes);
    EXPECT_EQ(filesIn(dir).backup, newBytes);
    EXPECT_EQ(QDir(dir).entryList({QStringLiteral("Regels!*")}, QDir::Files).size(), 2)
        << "nothing set aside during a save is left behind";
    ::testing::Test::RecordProperty("kills", kills);
    ::testing::Test::RecordProperty("temporaryFilesLeftByKills", int(leftoverTemporaryFiles(dir).size()));
}

// The same, with no chance involved: the save is cut off after each of its system calls in turn,
// which are the only moments at which the files change.
TEST_F(PositionsFault, KilledAfterEachStepOfASaveLeavesOldOrNewList)
{
    const QStringList newList = positionList(9, 400);
    const QByteArray olderBytes = positions_file::encode(a), backupBytes = positions_file::encode(b),
                     currentBytes = positions_file::encode(c), newBytes = positions_file::encode(newList);
    const auto isKnownList = [&](const QByteArray &bytes) {
        return bytes == olderBytes || bytes == backupBytes || bytes == currentBytes || bytes == newBytes;
    };
    const auto layOut = [&] {
        for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(dir + name);
        for (const auto &[name, bytes] : {std::pair(positions_file::olderBackupName(dir), olderBytes),
                                          std::pair(positions_file::backupName(dir), backupBytes),
                                          std::pair(positions_file::fileName(dir), currentBytes)})
            writeFile(name, bytes);
    };

    int stop = 0;
    for (;; ++stop) {
        ASSERT_LT(stop, 100000) << "the save never ended";
        layOut();
        const SaveEnd end = saveKilledAtStop(dir, newList, stop);
        if (end == SaveEnd::NoTracing)
            GTEST_SKIP() << "system calls cannot be traced here";
        SCOPED_TRACE(testing::Message() << "killed at system-call stop " << stop);
        const Files files = filesIn(dir);
        ASSERT_TRUE(files.current == currentBytes || files.current == newBytes) << files.current.size() << " bytes";
        const positions_file::LoadResult loaded = positions_file::load(dir);
        ASSERT_TRUE(loaded.complete);
        ASSERT_TRUE(loaded.lines == c || loaded.lines == newList);
        for (const QString &name : QDir(dir).entryList({QStringLiteral("Regels!*")}, QDir::Files))
            ASSERT_TRUE(isKnownList(readFile(dir + name))) << name.toStdString();
        if (end == SaveEnd::Finished) {
            EXPECT_TRUE((files == Files{newBytes, currentBytes, backupBytes}));
            break;
        }
    }
    EXPECT_GT(stop, 10) << "a save takes more than a few system calls";
    ::testing::Test::RecordProperty("killPoints", stop);
}
