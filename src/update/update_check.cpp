#include "update/update_check.h"

#include "support/system_info.h"
#include "update/update_http.h"
#include "update/update_state.h"
#include "update/version_list.h"

QString MakerHost()
{
    return qEnvironmentVariable("PELGRANDIX_MAKER_HOST", QStringLiteral("127.0.0.1:8470"));
}

QString VersionListUrl()
{
    return QStringLiteral("http://") + MakerHost() + QStringLiteral("/versions.dat");
}

bool UpdateProbePassed(const QString &thirdPingLine)
{
    return !thirdPingLine.contains(QLatin1String("Time-out"));
}

int GetDownloadName(QString &programStr, QString &newVersion, QString &remark,
                    const QString &runningVersion, const PingThirdLine &probe)
{
    if (!UpdateProbePassed(probe()))
        return ProbeFailed;
    const QString list = update_http::fetchText(VersionListUrl());
    return EvaluateVersionList(list, programStr, newVersion, remark, runningVersion, sLanguage,
                               InstallerSizeKB, DownloadedB);
}
