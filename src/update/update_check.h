#pragma once
// The update check without its window: probe the maker's site, read its version list, make sure
// the maker signed it, and compare the listed release with the running one.

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

#include "market/connectivity_probe.h"

// Runs the connectivity probe that decides whether the version list is asked for.
using UpdateProbe = std::function<ProbeResult()>;

// The probe of the maker's site (the host of the version list).
ProbeResult ProbeMakerSite();

// The address of the maker's version list, and of its signature beside it.
QString VersionListUrl();
QString VersionListSignatureUrl();

// The time stamp of the list's signature when a trusted key (TrustedUpdateKeys) signed it and it
// is not older than newestSeen; nothing otherwise.
std::optional<qint64> TrustedListTime(QByteArrayView list, QByteArrayView signatureFile,
                                      qint64 newestSeen);

// The whole check: probe, version list and its signature, comparison (result codes of
// EvaluateVersionList; 5 when the probe failed, in which case nothing is requested; 6 when the
// list is not signed by a trusted key, is older than one seen before or gives no installer
// checksum; 7 when the site's certificate was refused). On 6 and 7 nothing of the list is used.
// programStr is the program's name on the way in and the download name on the way out. Sets
// InstallerSizeKB and InstallerSha256, and clears DownloadedB when the program is not listed;
// texts follow sLanguage. A signed list's time stamp is kept in the settings as the newest seen.
// Throws ConversionError for a program line that cannot be read.
int GetDownloadName(QString &programStr, QString &newVersion, QString &remark,
                    const QString &runningVersion, const UpdateProbe &probe = ProbeMakerSite);
