#include "platform/os_services.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTimeZone>

#include <cerrno>
#include <sys/utsname.h>
#include <unistd.h>

namespace os {

VersionInfo queryVersion()
{
    // A POSIX desktop is a current multi-user system: it reports itself as the newest member of
    // the multi-user family, so that every user gets a data folder of his own. The kernel's own
    // name and release go into the service text.
    VersionInfo info;
    info.platformId = 2;
    info.major = 10;
    info.minor = 0;
    struct utsname names {};
    if (::uname(&names) == 0)
        info.serviceText = QString::fromLocal8Bit(names.sysname) + QLatin1Char(' ')
                           + QString::fromLocal8Bit(names.release);
    return info;
}

QLocale userLocale()
{
    return QLocale::system();
}

static QString location(QStandardPaths::StandardLocation which)
{
    return QStandardPaths::writableLocation(which);
}

ShellFolders queryShellFolders()
{
    ShellFolders folders;
    folders.appData = location(QStandardPaths::GenericDataLocation);
    folders.desktop = location(QStandardPaths::DesktopLocation);
    folders.startMenu = location(QStandardPaths::ApplicationsLocation);
    folders.programs = folders.startMenu;
    const QString config = location(QStandardPaths::GenericConfigLocation);
    folders.startup = config.isEmpty() ? QString() : config + QStringLiteral("/autostart");
    return folders;
}

QString commonAppDataFolder()
{
    const QStringList all = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    return all.size() > 1 ? all.last() : QString();
}

QString systemFolder()
{
    return QStringLiteral("/usr");
}

TimeZoneRecord queryTimeZone(int year)
{
    TimeZoneRecord record;
    const QTimeZone zone = QTimeZone::systemTimeZone();
    if (!zone.hasTransitions())
        return record;
    const QDateTime from(QDate(year, 1, 1), QTime(0, 0));
    const QDateTime to(QDate(year, 12, 31), QTime(23, 59, 59));
    const auto transitions = zone.transitions(from, to);
    for (const auto &t : transitions) {
        const QDateTime local = t.atUtc.toTimeZone(zone);
        if (t.daylightTimeOffset > 0 && !record.daylightStart.isValid()) {
            record.daylightStart = local;
            record.daylightOffsetMinutes = t.daylightTimeOffset / 60;
        } else if (t.daylightTimeOffset == 0 && !record.standardStart.isValid()) {
            record.standardStart = local;
        }
    }
    record.hasDaylightSaving = record.daylightStart.isValid() && record.standardStart.isValid();
    return record;
}

int regionalCountryCode()
{
    switch (QLocale::system().territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
        return 1;
    default:
        return 0;
    }
}

int deleteFileOrJunction(const QString &path)
{
    // unlink() removes a symbolic link itself, also one that points at a folder, and refuses a
    // real folder: exactly the rule for files and junctions, in one call.
    const QByteArray native = QFile::encodeName(path);
    return ::unlink(native.constData()) == 0 ? 0 : errno;
}

} // namespace os
