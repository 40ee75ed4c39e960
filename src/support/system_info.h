#pragma once
// System, folder and locale values worked out once at start-up, before any window exists, and
// the routines that give the program its per-user data folder.

#include <QDateTime>
#include <QLocale>
#include <QString>

#include "platform/os_services.h"

// Language code: "NLD" selects the Dutch text of every two-language choice.
extern QString sLanguage;
extern bool WinNTB;
extern QString PlatForm;
extern QString WindowsVersion;
// The data folder, ending in "/"; set by the main window at its creation.
extern QString DataDir;
extern QString AppData, Desktop, StartMenu, Programs, Startup;
extern QString CommonAppData;
extern QString WinDir;
extern QDateTime DaylightDatum, StandardDatum;
extern double ZWCorrection;        // daylight-saving offset as a fraction of a day
extern double DaylightCorrection;  // ZWCorrection while daylight-saving time is in force, else 0
extern bool ZomertijdB;
extern quint16 TaskBarHeight;
extern quint8 Indent;

// Works out every value above (but DataDir, which the main window sets) in start-up order.
void InitSupport();

void GetLanguage();
void GetPlatform();
void GetShellFolders();
void GetCommonAppData();
void GetWinDir();
void GetDaylightInfo(QDateTime &daylightDatum, QDateTime &standardDatum, double &daylightCorrection,
                     double &zwCorrection, bool &zomertijd);

// Creates (with its parents) and returns the program's per-user data folder, ending in "/";
// the current folder is the same afterwards as before.
QString GetDataDir(const QString &programName);
// Creates the folder with its parents and makes it current; true when the current folder plus
// "/" is now exactly the text given.
bool ChMkDir(const QString &folder);
void DeleteFileStr(const QString &path);

// The rules behind the values, as functions of what the system reported.
QString LanguageCodeFor(const QLocale &locale);
QString PlatformNameFor(int platformId, int major, int minor, const QString &serviceText);
bool IsMultiUserPlatform(const QString &platformName);
QString WindowsVersionText(const QString &platformName, const os::VersionInfo &info);
// The parent of the desktop folder + "/UserData/<programName>/", or the same under home when
// that parent is not inside the home folder.
QString DataDirFor(const QString &desktop, const QString &programName, const QString &home);
// True when path, cleaned of "." and "..", is folder itself or lies below it.
bool IsInsideFolder(const QString &path, const QString &folder);

struct DaylightInfo {
    QDateTime daylightDatum, standardDatum;
    double daylightCorrection = 0;
    double zwCorrection = 0;
    bool zomertijd = false;
    bool datesSet = false;  // false: leave the callers' dates as they were
};
DaylightInfo DaylightInfoFor(int countryCode, const os::TimeZoneRecord &zone, const QDateTime &now);
