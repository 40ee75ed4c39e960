#include "update/update_check.h"

#include "market/market_hosts.h"
#include "support/system_info.h"
#include "update/update_http.h"
#include "update/update_state.h"
#include "update/version_list.h"

ProbeResult ProbeMakerSite()
{
    return RunConnectivityProbe(MakerHost());
}

QString VersionListUrl()
{
    return QStringLiteral("http://") + MakerHost() + QStringLiteral("/versions.dat");
}

int GetDownloadName(QString &programStr, QString &newVersion, QString &remark,
                    const QString &runningVersion, const UpdateProbe &probe)
{
    if (!UpdateProbePassed(probe()))
        return ProbeFailed;
    const QString list = update_http::fetchText(VersionListUrl());
    return EvaluateVersionList(list, programStr, newVersion, remark, runningVersion, sLanguage,
                               InstallerSizeKB, InstallerSha256, DownloadedB);
}
