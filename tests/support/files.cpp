#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>
#include <string>

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray bytes = file.readAll();
    // readAll() gives a null array for an empty file; an empty file is there all the same.
    return bytes.isNull() ? QByteArray("") : bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes, QFileDevice::Permissions permissions)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return !permissions || file.setPermissions(permissions);
}

QByteArray ReadFixture(const char *name)
{
    const QByteArray bytes = readFile(QStringLiteral(PELGRANDIX_FIXTURES "/") + QString::fromUtf8(name));
    if (bytes.isNull())
        throw std::runtime_error(std::string("missing fixture ") + name);
    return bytes;
}
