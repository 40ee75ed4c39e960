#include "support/system_info.h"

#include <QDir>
#include <QFileInfo>

#include "platform/private_files.h"
#include "support/text_routines.h"

QString sLanguage;
bool WinNTB = false;
QString PlatForm;
QString WindowsVersion;
QString DataDir;
QString AppData, Desktop, StartMenu, Programs, Startup;
QString CommonAppData;
QString WinDir;
QDateTime DaylightDatum, StandardDatum;
double ZWCorrection = 0;
double DaylightCorrection = 0;
bool ZomertijdB = false;
quint16 TaskBarHeight = 0;
quint8 Indent = 0;

namespace {

QString withSeparator(const QString &folder)
{
    return folder + QLatin1Char('/');
}

} // namespace

QString LanguageCodeFor(const QLocale &locale)
{
    const bool dutch = locale.language() == QLocale::Dutch
                       && (locale.territory() == QLocale::Netherlands
                           || locale.territory() == QLocale::Belgium);
    return dutch || locale.language() == QLocale::Afrikaans ? QStringLiteral("NLD") : QString();
}

QString PlatformNameFor(int platformId, int major, int minor, const QString &serviceText)
{
    if (platformId == 1) {
        if (major != 4)
            return QStringLiteral("9x version (unknown)");
        const QChar first = serviceText.isEmpty() ? QChar() : serviceText.at(0);
        switch (minor) {
        case 0:
            return first == QLatin1Char('B') || first == QLatin1Char('C') ? QStringLiteral("95 OSR2")
                                                                         : QStringLiteral("95");
        case 10:
            return first == QLatin1Char('A') ? QStringLiteral("98 SE") : QStringLiteral("98");
        case 90:
            return QStringLiteral("ME");
        default:
            return QString();
        }
    }
    if (platformId == 2) {
        if (major <= 4)
            return QStringLiteral("NT");
        if (major == 5) {
            switch (minor) {
            case 0: return QStringLiteral("2000");
            case 1: return QStringLiteral("XP");
            case 2: return QStringLiteral("Server 2003");
            default: return QString();
            }
        }
        if (major == 6 && minor == 0)
            return QStringLiteral("Vista");
        if (major == 6 && minor == 1)
            return QStringLiteral("Windows 7");
        return QStringLiteral("Future Windows version (unknown)");
    }
    return QString();
}

bool IsMultiUserPlatform(const QString &name)
{
    static const QStringList multiUser = {
        QStringLiteral("NT"),    QStringLiteral("2000"),  QStringLiteral("XP"),
        QStringLiteral("Server 2003"), QStringLiteral("Vista"), QStringLiteral("Windows 7"),
        QStringLiteral("Future Windows version (unknown)")};
    return multiUser.contains(name);
}

QString WindowsVersionText(const QString &platformName, const os::VersionInfo &info)
{
    const QString service = info.platformId == 2 ? info.serviceText : QString();
    return QStringLiteral("Microsoft Windows ") + platformName
           + QStringLiteral(" Version %1.%2 Build %3 %4")
                 .arg(info.major).arg(info.minor).arg(info.build).arg(service);
}

QString DataDirFor(const QString &desktop, const QString &programName, const QString &home)
{
    QString folder = desktop;
    if (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    folder = LeftOfLast(QLatin1Char('/'), folder);
    // Where there is no Desktop folder the desktop is the home folder itself, whose parent
    // (/home) no user can write to; a desktop elsewhere would spread the data just as far.
    if (!IsInsideFolder(folder, home)) {
        folder = QDir::cleanPath(home);
        if (folder.endsWith(QLatin1Char('/')))
            folder.chop(1);
    }
    return folder + QStringLiteral("/UserData/") + programName + QLatin1Char('/');
}

bool IsInsideFolder(const QString &path, const QString &folder)
{
    if (path.isEmpty())
        return false;
    const QString cleanPath = QDir::cleanPath(path);
    const QString cleanFolder = QDir::cleanPath(folder);
    if (cleanPath == cleanFolder || cleanFolder == QLatin1String("/"))
        return true;
    return cleanPath.startsWith(cleanFolder + QLatin1Char('/'));
}

DaylightInfo DaylightInfoFor(int countryCode, const os::TimeZoneRecord &zone, const QDateTime &now)
{
    DaylightInfo info;
    // Regional settings of North America leave daylight saving out of the program's reckoning.
    if ((countryCode & 0xFFFF) == 1)
        return info;
    info.datesSet = true;
    info.daylightDatum = zone.daylightStart;
    info.standardDatum = zone.standardStart;
    info.zwCorrection = zone.daylightOffsetMinutes / 1440.0;
    // A zone whose summer spans the turn of the year never tests as summer here, as before.
    if (zone.hasDaylightSaving && now > zone.daylightStart && now < zone.standardStart) {
        info.daylightCorrection = info.zwCorrection;
        info.zomertijd = true;
    }
    return info;
}

void GetLanguage()
{
    sLanguage = LanguageCodeFor(os::userLocale());
}

void GetPlatform()
{
    const os::VersionInfo info = os::queryVersion();
    PlatForm = PlatformNameFor(info.platformId, info.major, info.minor, info.serviceText);
    WinNTB = IsMultiUserPlatform(PlatForm);
    WindowsVersion = WindowsVersionText(PlatForm, info);
}

void GetShellFolders()
{
    const os::ShellFolders folders = os::queryShellFolders();
    AppData = withSeparator(folders.appData);
    Desktop = withSeparator(folders.desktop);
    StartMenu = withSeparator(folders.startMenu);
    Programs = withSeparator(folders.programs);
    Startup = withSeparator(folders.startup);
    GetCommonAppData();
    GetWinDir();
}

void GetCommonAppData()
{
    const QString folder = os::commonAppDataFolder();
    CommonAppData = folder.isEmpty() ? QStringLiteral("/usr/share/") : withSeparator(folder);
}

void GetWinDir()
{
    const QString folder = os::systemFolder();
    WinDir = folder.isEmpty() ? QStringLiteral("/usr/") : withSeparator(folder);
}

void GetDaylightInfo(QDateTime &daylightDatum, QDateTime &standardDatum, double &daylightCorrection,
                     double &zwCorrection, bool &zomertijd)
{
    const QDateTime now = QDateTime::currentDateTime();
    const DaylightInfo info = DaylightInfoFor(os::regionalCountryCode(),
                                              os::queryTimeZone(now.date().year()), now);
    daylightCorrection = info.daylightCorrection;
    zomertijd = info.zomertijd;
    if (!info.datesSet)
        return;
    daylightDatum = info.daylightDatum;
    standardDatum = info.standardDatum;
    zwCorrection = info.zwCorrection;
}

void InitSupport()
{
    Indent = 0;
    GetLanguage();
    GetPlatform();
    GetShellFolders();
    GetDaylightInfo(DaylightDatum, StandardDatum, DaylightCorrection, ZWCorrection, ZomertijdB);
    // TaskBarHeight needs the screen; the window layer fills it in once the application exists.
}

QString GetDataDir(const QString &programName)
{
    if (!WinNTB)
        return withSeparator(QDir::currentPath());
    const QString remembered = QDir::currentPath();
    const QString folder = DataDirFor(Desktop, programName, QDir::homePath());
    // The positions and their history are the user's alone; an older release made it open to all.
    platform::makePrivateFolder(folder);
    ChMkDir(folder);
    ChMkDir(remembered);
    return folder;
}

bool ChMkDir(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    QDir().mkpath(folder);
    if (QFileInfo(folder).isDir())
        QDir::setCurrent(folder);
    return withSeparator(QDir::currentPath()) == folder;
}

void DeleteFileStr(const QString &path)
{
    os::deleteFileOrJunction(path);
}
