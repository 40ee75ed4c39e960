#include "positions/window_lock.h"

#include "platform/private_files.h"

QString WindowLockPath(const QString &dataDir)
{
    return dataDir + QStringLiteral("Pelgrandix.lock");
}

bool TakeWindowLock(QLockFile &lock)
{
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        platform::makePrivate(lock.fileName());
        return true;
    }
    return lock.error() != QLockFile::LockFailedError;
}
