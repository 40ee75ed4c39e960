#pragma once
// The lock an open window holds on its data folder ("Pelgrandix.lock"): a second window would
// load the same positions, and whichever closed last would save its list over the other's; a
// report that saves would have its list overwritten at the window's close.

#include <QString>

#include "platform/file_lock.h"

QString WindowLockPath(const QString &dataDir);

// Takes the lock, also one left behind by a program that ended without letting go (a crash, a
// power cut). The lock file is the user's alone. False only when another program holds it: a
// data folder that cannot hold a lock (read-only) is no reason to refuse.
bool TakeWindowLock(platform::FileLock &lock);
