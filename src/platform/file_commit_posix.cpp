#include "platform/file_commit.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// Bytes that may still be written before writes fail as on a full disk; negative: no limit.
std::atomic<qint64> g_room{-1};

// write(2), or a disk that is full once the room given to setWriteLimitForTesting is used up.
ssize_t writeSome(int fd, const char *data, size_t size)
{
    const qint64 room = g_room;
    if (room < 0)
        return ::write(fd, data, size);
    if (room == 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = ::write(fd, data, std::min(size, size_t(room)));
    if (written > 0)
        g_room = room - written;
    return written;
}

} // namespace

void setWriteLimitForTesting(qint64 bytesBeforeFailure)
{
    g_room = bytesBeforeFailure;
}

bool writeAll(QFileDevice &file, const QByteArray &bytes, QString *error)
{
    // QFileDevice reports a write that stops part-way (the disk filled up) without its reason,
    // so the bytes go to the descriptor directly, where the system says why it stopped.
    if (!file.flush()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const int fd = file.handle();
    const char *data = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t written = writeSome(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (error)
                *error = QString::fromLocal8Bit(std::strerror(written < 0 ? errno : EIO));
            return false;
        }
        data += written;
        left -= size_t(written);
    }
    return true;
}

bool syncToDisk(QFileDevice &file)
{
    const int fd = file.handle();
    return fd >= 0 && ::fsync(fd) == 0;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool linkOrCopy(const QString &from, const QString &to)
{
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    return QFile::copy(from, to);
}

bool replaceFile(const QString &from, const QString &to, QString *error)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

} // namespace platform
