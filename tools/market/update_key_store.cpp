#include "update_key_store.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kLongestKeyFile = 4096;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

std::optional<UpdateKeyPair> readKey(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    const std::optional<UpdateKeyPair> keys = readSecretKeyFile(file.read(kLongestKeyFile));
    if (!keys)
        error = path + QStringLiteral(": no minisign secret key without a password");
    return keys;
}

// Writes a new key pair to path, which must not exist yet; only the user may read it.
bool writeNewKey(const QString &path, const UpdateKeyPair &keys, QString &error)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = path + QStringLiteral(": ") + systemError();
        return false;
    }
    const QByteArray text = secretKeyFile(keys);
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    if (!written)
        error = path + QStringLiteral(": ") + systemError();
    ::close(fd);
    if (!written)
        QFile::remove(path);
    return written;
}

} // namespace

QString updateKeyFolder()
{
    // A relative path in the variable is to be ignored, as for every XDG base folder.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base) + QStringLiteral("/pelgrandix-market/");
}

std::optional<UpdateKeyPair> loadUpdateKey(const QString &secretKeyFile, QString &error)
{
    if (!secretKeyFile.isEmpty())
        return readKey(secretKeyFile, error);
    const QString folder = updateKeyFolder();
    if (!QDir().mkpath(folder) || ::chmod(QFile::encodeName(folder).constData(), 0700) != 0) {
        error = folder + QStringLiteral(": ") + systemError();
        return std::nullopt;
    }
    const QString path = folder + QStringLiteral("update.key");
    if (QFile::exists(path))
        return readKey(path, error);
    const UpdateKeyPair keys = makeUpdateKeyPair();
    if (!writeNewKey(path, keys, error))
        return std::nullopt;
    return keys;
}
