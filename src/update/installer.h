#pragma once
// Receiving the advised installer into the data folder's "Temp/" folder and starting it.

#include <QString>
#include <QtGlobal>

#include <functional>

// Told after every block of the installer: the whole KiB received so far and the gauge's
// progress. The caller lets pending window messages run here so the window stays alive.
using DownloadProgress = std::function<void(quint32 receivedKB, quint32 gaugeProgress)>;

// The download name comes from the network: it must name a plain file inside the installer
// folder. Refused: nothing but blanks, a "/" or "\", "..", a lone ".", or a control character.
bool IsSafeDownloadName(const QString &downloadName);
// The line the update window shows for a refused download name.
QString UnsafeDownloadNameText(const QString &downloadName, const QString &language);

// DataDir + "Temp/".
QString InstallerFolder();
// Where the installer of downloadName is kept.
QString InstallerPath(const QString &downloadName);
// The installer of the running release ("Pelgrandix" and "versie 1.20a" give
// Pelgrandix120.exe in the installer folder), which a new download makes superfluous.
QString OlderInstallerPath(const QString &programName, const QString &runningVersion);
// The installer lies beside the version list on the maker's site.
QString InstallerUrl(const QString &versionListUrl, const QString &downloadName);

// Deletes the older installer and any earlier copy of this one, then writes the installer
// block by block (4096 bytes), counting ReceivedKB. True when at least 1 KiB arrived; otherwise
// the file is deleted. A refused download name gives false before anything is touched. A file
// that cannot be created or written throws UpdateError; the partial file is removed.
bool DownloadNewVersion(const QString &downloadName, const QString &versionListUrl,
                        const QString &programName, const QString &runningVersion,
                        const DownloadProgress &progress);

// The two-letter product prefix of the maker's own programs. A program name that starts with it
// is shown as "rd" followed by the rest in capitals ("Rdscan" shows as "rdSCAN"), the maker's
// house style. Pelgrandix is not one of those programs, so its name stays as it is.
inline constexpr char kMakerProductPrefix[] = "Rd";

// The program's name as the installation messages show it: the download name before its first
// ".", without digits, with a capital first letter ("Pelgrandix121.exe" gives "Pelgrandix").
QString InstallDisplayName(const QString &downloadName);

// Starts the installer silently and does not wait for it. False when it cannot be started.
bool StartInstaller(const QString &path);
