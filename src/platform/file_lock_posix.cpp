#include "platform/file_lock.h"

#include "platform/private_files.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Whether the open file is still the one the path names: a holder removes the file as it lets
// go, and whoever opened it just before holds a lock on a file that no longer counts.
bool stillNamedBy(int fd, const QByteArray &path)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.constData(), &named) == 0
           && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

FileLock::FileLock(QString path) : m_path(std::move(path)) {}

FileLock::~FileLock()
{
    release();
}

FileLock::Outcome FileLock::tryTake(const QByteArray &note)
{
    if (m_fd >= 0)
        return Outcome::Taken;
    const QByteArray path = QFile::encodeName(m_path);
    // Each new try means that another program took the lock and let go of it meanwhile; a few
    // are enough for anything but a program that does nothing else.
    for (int attempt = 0; attempt < 4; ++attempt) {
        // A link at the name is not followed: the lock is this file, not one it points to.
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return Outcome::NotPossible;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::NotPossible;
        }
        if (!stillNamedBy(fd, path)) {
            ::close(fd);
            continue;
        }
        makePrivate(m_path);
        // The note is a courtesy to whoever looks: the lock holds without it.
        [[maybe_unused]] const bool noted =
            ::ftruncate(fd, 0) == 0 && ::write(fd, note.constData(), size_t(note.size())) == ssize_t(note.size());
        m_fd = fd;
        return Outcome::Taken;
    }
    return Outcome::HeldElsewhere;
}

void FileLock::release()
{
    if (m_fd < 0)
        return;
    // Removed while still locked, so that nobody takes a lock on a file about to go.
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
    m_fd = -1;
}

} // namespace platform
