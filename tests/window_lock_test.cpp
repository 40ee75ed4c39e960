#include <gtest/gtest.h>

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "positions/window_lock.h"
#include "support/files.h"

// The window's lock is the system's lock on a file. A second window and the report are refused
// while it is held (tested with the program and the report); here, what only the lock shows: an
// older release, which locks with QLockFile, sees it held; letting go removes the file; and where
// no lock can be had the window is not refused, nor is a link at the lock's name followed.

TEST(WindowLock, SeenByOlderReleasesGoneWhenLetGoAndNeverThroughALink)
{
    const QTemporaryDir dir;
    const QString path = WindowLockPath(dir.path() + QLatin1Char('/'));
    platform::FileLock window(path);
    ASSERT_TRUE(TakeWindowLock(window));
    QLockFile olderRelease(path);
    EXPECT_FALSE(olderRelease.tryLock(0));
    window.release();
    EXPECT_FALSE(QFile::exists(path));

    const QString target = dir.path() + QStringLiteral("/elsewhere.txt");
    ASSERT_TRUE(writeFile(target, "untouched", QFile::Permissions(0x6644)));
    ASSERT_TRUE(QFile::link(target, path));
    platform::FileLock throughLink(path);
    EXPECT_TRUE(TakeWindowLock(throughLink)) << "no lock to be had there: no reason to refuse";
    EXPECT_EQ(readFile(target), "untouched");
    EXPECT_EQ(QFile::permissions(target), QFile::Permissions(0x6644));
}
