#include "update/installer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "support/system_info.h"
#include "support/text_routines.h"
#include "update/update_error.h"
#include "update/update_http.h"
#include "update/update_state.h"
#include "update/version_list.h"

namespace {

constexpr int kInstallerBlockSize = 4096;

bool isSmallLetter(QChar c)
{
    return c >= QLatin1Char('a') && c <= QLatin1Char('z');
}

} // namespace

bool IsSafeDownloadName(const QString &downloadName)
{
    if (downloadName.trimmed().isEmpty() || downloadName == QLatin1String("."))
        return false;
    if (downloadName.contains(QLatin1Char('/')) || downloadName.contains(QLatin1Char('\\'))
        || downloadName.contains(QLatin1String("..")))
        return false;
    for (QChar c : downloadName) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QString UnsafeDownloadNameText(const QString &downloadName, const QString &language)
{
    const QString shown = QLatin1Char('"') + downloadName + QLatin1Char('"');
    return language == QLatin1String("NLD")
               ? QStringLiteral("Ongeldige downloadnaam: ") + shown
               : QStringLiteral("Invalid download name: ") + shown;
}

QString InstallerFolder()
{
    return DataDir + QStringLiteral("Temp/");
}

QString InstallerPath(const QString &downloadName)
{
    return InstallerFolder() + downloadName;
}

QString OlderInstallerPath(const QString &programName, const QString &runningVersion)
{
    return InstallerFolder() + programName + RunningVersion(runningVersion).digits
           + QStringLiteral(".exe");
}

QString InstallerUrl(const QString &versionListUrl, const QString &downloadName)
{
    return LeftOfLast(QLatin1Char('/'), versionListUrl) + QLatin1Char('/') + downloadName;
}

bool DownloadNewVersion(const QString &downloadName, const QString &versionListUrl,
                        const QString &programName, const QString &runningVersion,
                        const DownloadProgress &progress)
{
    if (!IsSafeDownloadName(downloadName))
        return false;
    const QString target = InstallerPath(downloadName);
    DeleteFileStr(OlderInstallerPath(programName, runningVersion));
    DeleteFileStr(target);
    QDir().mkpath(InstallerFolder());

    QFile file(target);
    // Unbuffered, so that a full disk shows at the block that did not fit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw UpdateError(QStringLiteral("Kan bestand %1 niet maken: %2")
                              .arg(target, file.errorString()));
    ReceivedKB = 0;
    try {
        update_http::download(
            InstallerUrl(versionListUrl, downloadName),
            [&](QByteArrayView block) {
                // Whole KiB per block: the count is what the gauge and the verdict go by.
                ReceivedKB += quint32(block.size() / 1024);
                if (file.write(block.data(), block.size()) != block.size())
                    throw UpdateError(QStringLiteral("Fout bij het schrijven van %1: %2")
                                          .arg(target, file.errorString()));
                if (progress)
                    progress(ReceivedKB, ReceivedKB + 1);
            },
            kInstallerBlockSize);
    } catch (...) {
        file.close();
        file.remove();
        throw;
    }
    file.close();

    if (ReceivedKB >= 1)
        return true;
    DeleteFileStr(target);
    return false;
}

QString InstallDisplayName(const QString &downloadName)
{
    QString name = UnNumber(LeftOf(QLatin1Char('.'), downloadName));
    if (!name.isEmpty() && isSmallLetter(name.at(0)))
        name[0] = name.at(0).toUpper();
    const QString prefix = QString::fromLatin1(kMakerProductPrefix);
    if (name.startsWith(prefix)) {
        QString rest = name.mid(prefix.size());
        for (QChar &c : rest) {
            if (isSmallLetter(c))
                c = c.toUpper();
        }
        name = prefix.toLower() + rest;
    }
    return name;
}

bool StartInstaller(const QString &path)
{
    // A file that arrived over the network carries no execute permission here; the installer
    // was asked for to be run, so grant it to the owner before starting it.
    QFile installer(path);
    const QFileDevice::Permissions permissions = installer.permissions();
    if (installer.exists() && !(permissions & QFileDevice::ExeOwner))
        installer.setPermissions(permissions | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return QProcess::startDetached(path, {QStringLiteral("/SP-"), QStringLiteral("/silent"),
                                          QStringLiteral("/noicons")});
}
