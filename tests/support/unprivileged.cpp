#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

void handOver(const QString &folder)
{
    // The user must be able to pass through every parent folder.
    for (QString parent = QFileInfo(folder).path(); parent != QLatin1String("/");
         parent = QFileInfo(parent).path()) {
        struct stat info {};
        const QByteArray path = QFile::encodeName(parent);
        if (::stat(path.constData(), &info) == 0 && !(info.st_mode & S_IXOTH))
            ::chmod(path.constData(), (info.st_mode & 07777) | S_IXOTH);
    }
    ::chown(QFile::encodeName(folder).constData(), kNobody, kNobody);
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries)
        ::chown(QFile::encodeName(folder + QLatin1Char('/') + entry).constData(), kNobody, kNobody);
}

} // namespace

bool runAsUnprivilegedUser(const QString &folder, const std::function<int()> &body)
{
    if (::geteuid() == 0)
        handOver(folder);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
