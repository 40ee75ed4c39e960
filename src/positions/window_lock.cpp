#include "positions/window_lock.h"

#include <QCoreApplication>
#include <QSysInfo>

QString WindowLockPath(const QString &dataDir)
{
    return dataDir + QStringLiteral("Pelgrandix.lock");
}

bool TakeWindowLock(platform::FileLock &lock)
{
    // The holder as an older release's lock (QLockFile) notes it: such a release, started after
    // this one ended without letting go, sees that the process is gone and takes over.
    const QByteArray holder = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
                              + QCoreApplication::applicationName().toUtf8() + '\n'
                              + QSysInfo::machineHostName().toUtf8() + '\n';
    return lock.tryTake(holder) != platform::FileLock::Outcome::HeldElsewhere;
}
