#include "update/update_check.h"

#include "entry/stored_settings.h"
#include "market/internet.h"
#include "market/market_hosts.h"
#include "market/page_text.h"
#include "support/product.h"
#include "support/system_info.h"
#include "update/minisign.h"
#include "update/trusted_keys.h"
#include "update/update_http.h"
#include "update/update_state.h"
#include "update/version_list.h"

namespace {

const QString kProgramKey = QLatin1String(kProgramName);

// Remembers a signed list's time stamp, so that no older list is used from now on. A settings
// file that cannot be written does not stop the check: the list itself is sound.
void noteListTime(qint64 seconds)
{
    RegistryKey key(kProgramKey);
    putListTime(key, seconds);
    key.sync();
}

} // namespace

ProbeResult ProbeMakerSite()
{
    return RunConnectivityProbe(SiteProbeHost(MakerHost()));
}

QString VersionListUrl()
{
    return SiteAddress(MakerHost()) + QStringLiteral("/versions.dat");
}

QString VersionListSignatureUrl()
{
    return VersionListUrl() + QStringLiteral(".minisig");
}

std::optional<qint64> TrustedListTime(QByteArrayView list, QByteArrayView signatureFile,
                                      qint64 newestSeen)
{
    const std::optional<qint64> signedAt =
        minisign::verifiedTimestamp(list, signatureFile, TrustedUpdateKeys());
    if (!signedAt || *signedAt < newestSeen)
        return std::nullopt;
    return signedAt;
}

int GetDownloadName(QString &programStr, QString &newVersion, QString &remark,
                    const QString &runningVersion, const UpdateProbe &probe)
{
    if (!UpdateProbePassed(probe()))
        return ProbeFailed;
    FetchAnswer answer;
    const QByteArray list = update_http::fetchBytes(VersionListUrl(), kPageByteLimit, &answer);
    if (answer.certificateRefused)
        return SiteNotTrusted;
    const QString text = PageText(list);
    if (!VersionListArrived(text))
        return ListNotReceived;

    const QByteArray signature =
        update_http::fetchBytes(VersionListSignatureUrl(), minisign::kLongestFileBytes);
    const qint64 newestSeen = readListTime(RegistryKey(kProgramKey, RegistryKey::ReadOnly));
    const std::optional<qint64> signedAt = TrustedListTime(list, signature, newestSeen);
    if (!signedAt)
        return ListNotVerified;
    if (*signedAt > newestSeen)
        noteListTime(*signedAt);

    // Read apart first: a release named without its installer's checksum is not used at all.
    QString downloadName = programStr;
    QString listedVersion = newVersion;
    QString listedRemark = remark;
    qint32 sizeKB = InstallerSizeKB;
    QByteArray sha256 = InstallerSha256;
    bool downloaded = DownloadedB;
    const int result = EvaluateVersionList(text, downloadName, listedVersion, listedRemark,
                                           runningVersion, sLanguage, sizeKB, sha256, downloaded);
    if ((result == NoUpdateNeeded || result == UpdateAdvised) && sha256.isEmpty())
        return ListNotVerified;
    programStr = downloadName;
    newVersion = listedVersion;
    remark = listedRemark;
    InstallerSizeKB = sizeKB;
    InstallerSha256 = sha256;
    DownloadedB = downloaded;
    return result;
}
