#include "update/package_install.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "support/product.h"

namespace {

// Far more than the package's list of files takes.
constexpr qint64 kLongestFileList = 1 << 20;

} // namespace

bool PackageListsFile(const QString &adminDir, const QString &filePath)
{
    if (filePath.isEmpty())
        return false;
    // The package is installed for one architecture at a time, so its list bears its name alone.
    QFile list(adminDir + QStringLiteral("/info/") + QLatin1String(kPackageName) + QStringLiteral(".list"));
    if (!list.open(QIODevice::ReadOnly))
        return false;
    const QByteArray wanted = QFile::encodeName(filePath);
    for (const QByteArray &line : list.read(kLongestFileList).split('\n')) {
        if (line == wanted)
            return true;
    }
    return false;
}

bool InstalledByPackageManager()
{
    const QString adminDir = qEnvironmentVariable("DPKG_ADMINDIR", QStringLiteral("/var/lib/dpkg"));
    // The file the program runs from, links resolved, as the package installed it.
    return PackageListsFile(adminDir, QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
}
