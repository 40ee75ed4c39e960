#pragma once
// The update check without its window: probe the maker's site, read its version list and
// compare the listed release with the running one.

#include <QString>

#include <functional>

// Runs the connectivity probe against the maker's site and gives the third line of the ping
// output (empty when there is none).
using PingThirdLine = std::function<QString()>;

// The maker's web site as host[:port], from PELGRANDIX_MAKER_HOST.
QString MakerHost();
// The address of the maker's version list.
QString VersionListUrl();

// The probe passes unless its third line reports a time-out; no reply line at all is no
// reason to skip the check.
bool UpdateProbePassed(const QString &thirdPingLine);

// The whole check: probe, version list, comparison (result codes of EvaluateVersionList, and 5
// when the probe failed, in which case nothing is requested). programStr is the program's name
// on the way in and the download name on the way out. Sets InstallerSizeKB, and clears
// DownloadedB when the program is not listed; texts follow sLanguage. Throws ConversionError
// for a program line that cannot be read.
int GetDownloadName(QString &programStr, QString &newVersion, QString &remark,
                    const QString &runningVersion, const PingThirdLine &probe);
