#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "positions/window_lock.h"
#include "support/files.h"

// The window's lock is the system's lock on a file: it is refused while anyone holds it (this
// release or an older one, which held it through QLockFile), and never left behind by a holder
// that ended.

namespace {

QString lockIn(const QTemporaryDir &dir)
{
    return WindowLockPath(dir.path() + QLatin1Char('/'));
}

} // namespace

TEST(WindowLock, RefusedOnlyWhileAnotherHolds)
{
    const QTemporaryDir dir;
    platform::FileLock window(lockIn(dir));
    ASSERT_TRUE(TakeWindowLock(window));

    platform::FileLock second(lockIn(dir));
    EXPECT_FALSE(TakeWindowLock(second)) << "a second window";
    QLockFile olderRelease(lockIn(dir));
    EXPECT_FALSE(olderRelease.tryLock(0)) << "an older release sees it held";

    window.release();
    EXPECT_FALSE(QFile::exists(lockIn(dir))) << "let go, the file goes";
    ASSERT_TRUE(olderRelease.tryLock(0));
    EXPECT_FALSE(TakeWindowLock(second)) << "held by an older release";
    olderRelease.unlock();
    EXPECT_TRUE(TakeWindowLock(second));
}

TEST(WindowLock, TakenOverWhatAHolderThatEndedLeftAndWhereNoLockCanBe)
{
    const QTemporaryDir dir;
    // As a killed window leaves it: the file with its note, no lock.
    ASSERT_TRUE(writeFile(lockIn(dir), "999999999\npelgrandix\nelsewhere\n", QFile::Permissions(0x6644)));
    platform::FileLock window(lockIn(dir));
    ASSERT_TRUE(TakeWindowLock(window));
    EXPECT_TRUE(readFile(lockIn(dir)).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
    EXPECT_EQ(QFile::permissions(lockIn(dir)), QFile::Permissions(0x6600)) << "the user's alone";

    // A folder that is gone, and a link at the lock's name, hold no lock: no reason to refuse,
    // and the file the link points to is left as it was.
    platform::FileLock nowhere(dir.path() + QStringLiteral("/gone/Pelgrandix.lock"));
    EXPECT_TRUE(TakeWindowLock(nowhere));
    const QTemporaryDir linked;
    const QString target = linked.path() + QStringLiteral("/elsewhere.txt");
    ASSERT_TRUE(writeFile(target, "untouched", QFile::Permissions(0x6644)));
    ASSERT_TRUE(QFile::link(target, lockIn(linked)));
    platform::FileLock throughLink(lockIn(linked));
    EXPECT_TRUE(TakeWindowLock(throughLink));
    EXPECT_EQ(readFile(target), "untouched");
    EXPECT_EQ(QFile::permissions(target), QFile::Permissions(0x6644));
}
