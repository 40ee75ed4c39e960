#pragma once
// The services of the operating system that the program's system values are worked out from.
// Each is asked here and nowhere else, so the rules that turn the answers into the program's
// values stay plain functions that tests can feed with any answer.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace os {

// What the version query reports: the platform family (1 for the old single-user family,
// 2 for the multi-user family), the version numbers and the service text.
struct VersionInfo {
    int platformId = 0;
    int major = 0;
    int minor = 0;
    int build = 0;
    QString serviceText;
};
VersionInfo queryVersion();

// The user's own locale, from which the language code is derived.
QLocale userLocale();

// The user's shell folders, each without a trailing separator; empty when unknown.
struct ShellFolders {
    QString appData, desktop, startMenu, programs, startup;
};
ShellFolders queryShellFolders();
QString commonAppDataFolder();
QString systemFolder();

// The time-zone rule of this year in the form the daylight values are worked out from:
// when daylight-saving time starts and ends (local time) and its offset in minutes.
struct TimeZoneRecord {
    bool hasDaylightSaving = false;
    QDateTime daylightStart;
    QDateTime standardStart;
    int daylightOffsetMinutes = 0;
};
TimeZoneRecord queryTimeZone(int year);

// The telephone country code of the user's regional settings (1 for North America).
int regionalCountryCode();

// Deletes a file, or a symbolic link to a folder (this platform's stand-in for a directory
// junction) without touching the folder it points at. Returns 0 or the error, which also stays
// in errno for a caller that wants it.
int deleteFileOrJunction(const QString &path);

} // namespace os
