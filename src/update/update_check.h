#pragma once
// The update check without its window: probe the maker's site, read its version list and
// compare the listed release with the running one.

#include <QString>

#include <functional>

#include "market/connectivity_probe.h"

// Runs the connectivity probe that decides whether the version list is asked for.
using UpdateProbe = std::function<ProbeResult()>;

// The probe of the maker's site (the host of the version list).
ProbeResult ProbeMakerSite();

// The address of the maker's version list.
QString VersionListUrl();

// The whole check: probe, version list, comparison (result codes of EvaluateVersionList, and 5
// when the probe failed, in which case nothing is requested). programStr is the program's name
// on the way in and the download name on the way out. Sets InstallerSizeKB and
// InstallerSha256, and clears DownloadedB when the program is not listed; texts follow
// sLanguage. Throws ConversionError for a program line that cannot be read.
int GetDownloadName(QString &programStr, QString &newVersion, QString &remark,
                    const QString &runningVersion, const UpdateProbe &probe = ProbeMakerSite);
