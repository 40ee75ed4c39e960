#include "platform/private_files.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr mode_t kOthersRights = S_IRWXG | S_IRWXO;
constexpr mode_t kOthersWrite = S_IWGRP | S_IWOTH;

bool ownedByUser(const struct stat &info)
{
    return info.st_uid == ::geteuid();
}

bool tightenPath(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return false;
    if (!ownedByUser(info))
        return false;
    if ((info.st_mode & kOthersRights) == 0)
        return true;
    return ::chmod(name.constData(), info.st_mode & 07700) == 0;
}

// Closes the descriptor however the reading below ends.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { if (m_fd >= 0) ::close(m_fd); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool onlyUserMayWrite(const struct stat &info)
{
    return ownedByUser(info) && (info.st_mode & kOthersWrite) == 0;
}

// The whole file behind the descriptor when it is small enough; false otherwise.
bool readSmallFile(int fd, qsizetype maxBytes, QByteArray &bytes)
{
    bytes.resize(maxBytes + 1);
    qsizetype filled = 0;
    for (;;) {
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0)
            return false;
        if (n == 0)
            break;
        filled += n;
        if (filled > maxBytes)
            return false;
    }
    bytes.truncate(filled);
    return true;
}

} // namespace

bool makePrivateFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    tightenPath(path);
    return true;
}

bool makePrivate(QFileDevice &file)
{
    const int fd = file.handle();
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !ownedByUser(info))
        return false;
    if ((info.st_mode & kOthersRights) == 0)
        return true;
    return ::fchmod(fd, info.st_mode & 07700) == 0;
}

bool makePrivate(const QString &path)
{
    return tightenPath(path);
}

QList<OwnFile> readOwnFiles(const QString &folder, const QString &suffix, qsizetype maxBytes,
                            int maxFiles)
{
    QList<OwnFile> files;
    const Descriptor dir(::open(QFile::encodeName(folder).constData(),
                                O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat info {};
    struct stat parent {};
    if (dir.get() < 0 || ::fstat(dir.get(), &info) != 0 || !onlyUserMayWrite(info)
        || ::fstatat(dir.get(), "..", &parent, 0) != 0 || !onlyUserMayWrite(parent))
        return files;

    // The names first, from a descriptor of their own, so that the order is the names' order.
    QStringList names;
    const int listed = ::dup(dir.get());
    DIR *listing = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!listing) {
        if (listed >= 0)
            ::close(listed);
        return files;
    }
    while (const dirent *entry = ::readdir(listing)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name.endsWith(suffix) && name.size() > suffix.size())
            names << name;
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());

    for (const QString &name : names) {
        if (files.size() >= maxFiles)
            break;
        // Not through a link, and without waiting on a pipe that stands at the name.
        const Descriptor fd(::openat(dir.get(), QFile::encodeName(name).constData(),
                                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat file {};
        if (fd.get() < 0 || ::fstat(fd.get(), &file) != 0 || !S_ISREG(file.st_mode)
            || !onlyUserMayWrite(file) || file.st_size > maxBytes)
            continue;
        QByteArray bytes;
        if (readSmallFile(fd.get(), maxBytes, bytes))
            files.append(OwnFile{name, bytes});
    }
    return files;
}

} // namespace platform
