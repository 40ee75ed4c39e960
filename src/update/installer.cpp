#include "update/installer.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <climits>

#include "market/internet.h"
#include "platform/private_files.h"
#include "support/system_info.h"
#include "support/text_routines.h"
#include "update/update_error.h"
#include "update/update_http.h"
#include "update/update_state.h"
#include "update/version_list.h"

namespace {

constexpr int kInstallerBlockSize = 4096;
// A slow line's speed; an installer may take as long as it needs at this speed.
constexpr qint64 kSlowLineKiBPerSecond = 16;
// When the list gives no size, an installer may not be larger than this.
constexpr qint64 kUnlistedInstallerByteLimit = 64 * 1024 * 1024;
// Whatever size the list gives: a list that names terabytes must not fill the data folder's
// disk, where the positions are saved, nor keep a download going for weeks.
constexpr qint64 kLargestInstallerBytes = 1024 * 1024 * 1024;
constexpr qint64 kLongestInstallerDownloadMs = 2 * 60 * 60 * 1000;

bool isSmallLetter(QChar c)
{
    return c >= QLatin1Char('a') && c <= QLatin1Char('z');
}

// Whether a length agrees with a size in whole KiB however it was rounded: more than one KiB
// below it and less than one above.
bool agreesWithListedSize(qint64 bytes, qint32 sizeKB)
{
    return bytes > (qint64(sizeKB) - 1) * 1024 && bytes < (qint64(sizeKB) + 1) * 1024;
}

InstallerDownload verdict(bool answered, const FetchAnswer &answer, qint64 bytes,
                          const ListedInstaller &listed, const QByteArray &sha256)
{
    if (!answered)
        return InstallerDownload::NotReceived;
    switch (answer.end) {
    case FetchEnd::Stopped:
        return InstallerDownload::Stopped;
    case FetchEnd::TooLong:
        return InstallerDownload::WrongLength;
    case FetchEnd::BrokenOff:
        return InstallerDownload::Incomplete;
    case FetchEnd::Complete:
        break;
    }
    // A complete body is as long as the server said it would be.
    if (listed.sizeKB > 0 && !agreesWithListedSize(bytes, listed.sizeKB))
        return answer.announcedLength >= 0 ? InstallerDownload::WrongLength
                                           : InstallerDownload::Incomplete;
    if (ReceivedKB < 1)
        return InstallerDownload::NotReceived;
    if (!listed.sha256.isEmpty() && sha256 != listed.sha256)
        return InstallerDownload::Damaged;
    return InstallerDownload::Received;
}

} // namespace

bool IsSafeDownloadName(const QString &downloadName)
{
    constexpr qsizetype kLongestFileName = 255;
    if (downloadName.trimmed().isEmpty() || downloadName == QLatin1String(".")
        || downloadName.toUtf8().size() > kLongestFileName)
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
    // The name is one path segment, whatever it holds: a blank, "#", "?" or "%" written as is
    // would make no address or another one.
    return LeftOfLast(QLatin1Char('/'), versionListUrl) + QLatin1Char('/')
           + QString::fromLatin1(QUrl::toPercentEncoding(downloadName));
}

int InstallerDeadlineMs(qint32 sizeKB)
{
    const qint64 slowLineMs = qint64(qMax(0, sizeKB)) * 1000 / kSlowLineKiBPerSecond;
    return int(qMax(qint64(FetchDeadline()), qMin(slowLineMs, kLongestInstallerDownloadMs)));
}

qint64 InstallerByteLimit(qint32 sizeKB)
{
    return sizeKB > 0 ? qMin((qint64(sizeKB) + 1) * 1024 - 1, kLargestInstallerBytes) : kUnlistedInstallerByteLimit;
}

InstallerDownload DownloadNewVersion(const QString &downloadName, const QString &versionListUrl,
                                     const QString &programName, const QString &runningVersion,
                                     const ListedInstaller &listed,
                                     const DownloadProgress &progress,
                                     const std::function<bool()> &keepGoing)
{
    if (!IsSafeDownloadName(downloadName))
        return InstallerDownload::NotReceived;
    const QString target = InstallerPath(downloadName);
    DeleteFileStr(OlderInstallerPath(programName, runningVersion));
    DeleteFileStr(target);
    platform::makePrivateFolder(InstallerFolder());

    QFile file(target);
    // Unbuffered, so that a full disk shows at the block that did not fit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw UpdateError(QStringLiteral("Kan bestand %1 niet maken: %2")
                              .arg(target, file.errorString()));
    // Nobody else may read it, nor change it between its check and its start.
    platform::makePrivate(file);
    ReceivedKB = 0;
    qint64 bytes = 0;
    QCryptographicHash sha256(QCryptographicHash::Sha256);
    FetchOptions options;
    options.byteLimit = InstallerByteLimit(listed.sizeKB);
    options.deadlineMs = InstallerDeadlineMs(listed.sizeKB);
    options.keepGoing = keepGoing;
    FetchAnswer answer;
    bool answered = false;
    try {
        answered = update_http::download(
            InstallerUrl(versionListUrl, downloadName),
            [&](QByteArrayView block) {
                // Whole KiB per block: the count is what the gauge and the verdict go by.
                ReceivedKB += quint32(block.size() / 1024);
                if (file.write(block.data(), block.size()) != block.size())
                    throw UpdateError(QStringLiteral("Fout bij het schrijven van %1: %2")
                                          .arg(target, file.errorString()));
                bytes += block.size();
                sha256.addData(block);
                if (progress)
                    progress(ReceivedKB, ReceivedKB + 1);
                return true;
            },
            options, answer, kInstallerBlockSize);
    } catch (...) {
        file.close();
        file.remove();
        throw;
    }
    file.close();

    const InstallerDownload outcome =
        verdict(answered, answer, bytes, listed, sha256.result().toHex());
    if (outcome != InstallerDownload::Received)
        DeleteFileStr(target);
    return outcome;
}

QString InstallerDownloadText(InstallerDownload outcome, qint32 sizeKB, const QString &language)
{
    const bool dutch = language == QLatin1String("NLD");
    switch (outcome) {
    case InstallerDownload::Incomplete:
        return dutch ? QStringLiteral("Het bestand is niet volledig gedownload.")
                     : QStringLiteral("The file was not downloaded completely.");
    case InstallerDownload::WrongLength:
        if (sizeKB <= 0)
            return dutch ? QStringLiteral("Het bestand is te groot.")
                         : QStringLiteral("The file is too large.");
        return (dutch ? QStringLiteral("Het bestand heeft niet de aangekondigde grootte van %1 kB.")
                      : QStringLiteral("The file does not have the announced size of %1 kB."))
            .arg(sizeKB);
    case InstallerDownload::Damaged:
        return dutch ? QStringLiteral("Het gedownloade bestand is beschadigd.")
                     : QStringLiteral("The downloaded file is damaged.");
    case InstallerDownload::Received:
    case InstallerDownload::NotReceived:
    case InstallerDownload::Stopped:
        break;
    }
    return QString();
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
