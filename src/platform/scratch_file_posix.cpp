#include "platform/scratch_file.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

int createScratchFile(const QString &path)
{
    // Not emptied at the open: first the file must prove to be the user's own, single-named
    // plain file (a hard link planted by another user would otherwise empty its target).
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    struct stat info {};
    const bool ownPlainFile = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
                              && info.st_uid == ::geteuid() && info.st_nlink == 1;
    if (!ownPlainFile || ::ftruncate(fd, 0) != 0) {
        const int reason = ownPlainFile ? errno : EPERM;
        ::close(fd);
        errno = reason;
        return -1;
    }
    return fd;
}

} // namespace platform
