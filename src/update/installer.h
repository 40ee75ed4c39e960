#pragma once
// Receiving the advised installer into the data folder's "Temp/" folder and starting it.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

// Told after every block of the installer: the whole KiB received so far and the gauge's
// progress. The caller lets pending window messages run here so the window stays alive.
using DownloadProgress = std::function<void(quint32 receivedKB, quint32 gaugeProgress)>;

// The download name comes from the network: it must name a plain file inside the installer
// folder. Refused: nothing but blanks, a "/" or "\", "..", a lone ".", a control character, or
// more than the 255 bytes that a file name may hold.
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

// What the version list says of the installer.
struct ListedInstaller {
    qint32 sizeKB = 0;  // its size in KiB, rounded either way; 0 or less when not given
    QByteArray sha256;  // its SHA-256 in small hexadecimal digits; empty when not given
};

enum class InstallerDownload {
    Received,     // whole, and as the list describes it
    NotReceived,  // no answer, an error page, or less than 1 KiB
    Stopped,      // stopped by the caller
    Incomplete,   // broke off, ran past its deadline, or ended short of the listed size
    WrongLength,  // the server announced or sent another length than the list gives
    Damaged,      // its SHA-256 is not the listed one
};

// The longest an installer download may take: the time for its listed size at a slow line,
// never less than the deadline of a page and never more than two hours.
int InstallerDeadlineMs(qint32 sizeKB);
// The most an installer download takes: less than one KiB beyond its listed size, or a fixed
// limit when the list gives no size; never more than 1 GiB.
qint64 InstallerByteLimit(qint32 sizeKB);

// Deletes the older installer and any earlier copy of this one, then writes the installer
// block by block (4096 bytes), counting ReceivedKB, within the deadline and byte limit of its
// listed size, and checks it against the list. Only a Received installer is kept; otherwise
// the file is deleted. keepGoing is asked while the download waits; false stops it. A refused
// download name gives NotReceived before anything is touched. A file that cannot be created or
// written throws UpdateError; the partial file is removed.
InstallerDownload DownloadNewVersion(const QString &downloadName, const QString &versionListUrl,
                                     const QString &programName, const QString &runningVersion,
                                     const ListedInstaller &listed,
                                     const DownloadProgress &progress,
                                     const std::function<bool()> &keepGoing = {});

// What the update window tells of a download that failed; empty when it tells nothing (the
// site did not answer with the file, or the user stopped it).
QString InstallerDownloadText(InstallerDownload outcome, qint32 sizeKB, const QString &language);

// The two-letter product prefix of the maker's own programs. A program name that starts with it
// is shown as "rd" followed by the rest in capitals ("Rdscan" shows as "rdSCAN"), the maker's
// house style. Pelgrandix is not one of those programs, so its name stays as it is.
inline constexpr char kMakerProductPrefix[] = "Rd";

// The program's name as the installation messages show it: the download name before its first
// ".", without digits, with a capital first letter ("Pelgrandix121.exe" gives "Pelgrandix").
QString InstallDisplayName(const QString &downloadName);

// Starts the installer silently and does not wait for it. False when it cannot be started.
bool StartInstaller(const QString &path);
